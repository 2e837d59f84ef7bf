"""The road of one application through the real window: answers typed with real keys,
tabs clicked with the real pointer, and the file that "Finish" leaves in the program
directory."""

import os
import random
import stat
import time
import unittest

from harness import App, Desktop, wait_for
from layout_points import (BEGIN, CLOSE_X, CREDIT_LABEL, FINISH_LABEL, HOME_LINK, MULTI_LINE,
                           TAB_OF_BOX, box_point, tab_point)

CAPTIONS = [
    "Nick:", "Age:", "Country:", "Connection Speed:", "E-mail:",
    "How long have you been on the scene?", "Past Affiliations:", "Current Affiliations:",
    "How many megs can you curry in a week?", "Which program(s) do you use to transfer software?",
    "Speed of the site:", "How many gigs can the site store?",
    "Can you supply individual user accounts?", "Name other groups, if any, that your site shares:",
    "How long have you been a bot master?", "How Many Bots Can You Supply?",
    "Is the bot on any other channel? If so, specify:",
    "How long have you been coding?", "What language(s) do you program in?",
    "How did you learn to program?", "What can you do?",
    "Tell us as much as you can about this position and why you would be qualified for it.",
]
SECTIONS = [("--General Information--", range(0, 8)), ("--Courrier--", range(8, 10)),
            ("--Site Op--", range(10, 14)), ("--Bot Master--", range(14, 17)),
            ("--Coder--", range(17, 21)), ("--Other--", range(21, 22))]


def expected_file(answers):
    """The application file for these answers (lists of lines for multi-line boxes)."""
    lines = ["This file was generated with the Tolvex Application Generator", "", ""]
    for number, (heading, questions) in enumerate(SECTIONS):
        if number:
            lines.append("")
        lines.append(heading)
        for q in questions:
            answer = answers.get(q, "")
            if q in MULTI_LINE:
                lines.append(CAPTIONS[q])
                lines.extend(answer if answer else [""])
            else:
                lines.append(CAPTIONS[q] + " " + answer)
    return "".join(line + "\r\n" for line in lines).encode("utf-8")


class Applicant:
    """Drives the window as a person does: clicks tabs and boxes, types."""

    def __init__(self, app):
        self.app = app
        self.current_tab = 2

    def click_tab(self, tab):
        self.app.click(*tab_point(tab, self.current_tab))
        self.current_tab = tab

    def begin(self):
        self.app.click(*BEGIN)
        self.current_tab = 3

    def answer(self, box, text):
        if self.current_tab != TAB_OF_BOX[box]:
            self.click_tab(TAB_OF_BOX[box])
        self.app.click(*box_point(box))
        if box in MULTI_LINE:
            for number, line in enumerate(text):
                if number:
                    self.app.desktop.key("Return")
                if line:
                    self.app.desktop.type_text(line)
        else:
            self.app.desktop.type_text(text)

    def finish(self):
        self.click_tab(9)
        self.app.click(*FINISH_LABEL)


class ApplicationRoad(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop()
        self.addCleanup(self.desktop.stop)

    def start(self, extra_env=None):
        app = App(self.desktop, extra_env)
        self.addCleanup(app.stop)
        app.wait_for_window()
        return app

    def test_worked_example(self):
        app = self.start()
        person = Applicant(app)
        person.begin()
        for box, text in [(0, "Ziruzav"), (1, "19"), (2, "Norway"), (3, "T1"), (5, "2 years"),
                          (6, "none"), (7, "none"), (8, "500"),
                          (21, ["I am online every evening", "and learn fast"])]:
            person.answer(box, text)
        for tab in (5, 6, 7):
            person.click_tab(tab)
        person.finish()
        self.assertEqual(app.wait_for_exit(10), 0, app.errors())
        with open(os.path.join(app.program_dir, "Ziruzav.app"), "rb") as f:
            written = f.read()
        self.assertEqual(len(written), 964)
        self.assertEqual(written, expected_file({
            0: "Ziruzav", 1: "19", 2: "Norway", 3: "T1", 5: "2 years", 6: "none", 7: "none",
            8: "500", 21: ["I am online every evening", "and learn fast"]}))

    def test_any_answers_come_out_in_the_layout(self):
        rng = random.Random(1206)
        words = ["alpha", "bravo", "x-ray", "42", "T3", "net", "C++", "(yes)", "#chan", "a.b",
                 "under_score", "50%", "q&a", "it's", "\"quoted\""]
        answers = {}
        for box in range(22):
            if box == 0:
                answers[box] = "Nick" + str(rng.randrange(1000))
            elif box == 1:
                answers[box] = str(rng.randrange(10, 99))
            elif box in MULTI_LINE:
                answers[box] = [" ".join(rng.sample(words, 3)) for _ in range(rng.randrange(1, 4))]
            elif rng.random() < 0.2:
                continue
            else:
                answers[box] = " ".join(rng.sample(words, rng.randrange(1, 4)))
        app = self.start()
        person = Applicant(app)
        person.begin()
        for box in sorted(answers, key=lambda b: (TAB_OF_BOX[b], b)):
            person.answer(box, answers[box])
        # A third digit in the age box is refused.
        person.answer(1, "7")
        person.finish()
        self.assertEqual(app.wait_for_exit(10), 0, app.errors())
        path = os.path.join(app.program_dir, answers[0] + ".app")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), expected_file(answers))

    def test_refused_nick_keeps_window_and_answers(self):
        app = self.start()
        person = Applicant(app)
        person.begin()
        person.answer(0, "what?")
        person.answer(2, "Norway")
        person.answer(16, ["#tolvex", "#other"])
        person.finish()
        box = wait_for(lambda: self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^Tolvex$"]).split(),
                       what="the failure box")
        shot = os.path.join(os.environ.get("TOLVEX_SCREENSHOTS", self.desktop.root), "failure-box.png")
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        self.desktop.run(["import", "-window", box[0], shot], check=True)
        self.desktop.xdotool("windowactivate", "--sync", box[0])
        self.desktop.key("Return")
        wait_for(lambda: not self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^Tolvex$"]).strip(),
                 what="the box to close")
        self.assertTrue(app.running())
        self.assertEqual([f for f in os.listdir(app.program_dir) if f.endswith(".app")], [])

        # Mend the nick: the other answers are still there and reach the file.
        self.desktop.xdotool("windowactivate", "--sync", app.window)
        person.click_tab(3)
        app.click(*box_point(0))
        self.desktop.key("ctrl+a")
        self.desktop.type_text("Mended")
        person.finish()
        self.assertEqual(app.wait_for_exit(10), 0, app.errors())
        with open(os.path.join(app.program_dir, "Mended.app"), "rb") as f:
            self.assertEqual(f.read(), expected_file({0: "Mended", 2: "Norway", 16: ["#tolvex", "#other"]}))

    def test_window_manager_close_ends_the_program(self):
        app = self.start()
        self.desktop.xdotool("windowactivate", "--sync", app.window)
        self.desktop.key("alt+F4")
        self.assertEqual(app.wait_for_exit(10), 0, app.errors())

    def test_close_label_ends_the_program(self):
        app = self.start()
        app.click(*CLOSE_X)
        self.assertEqual(app.wait_for_exit(10), 0, app.errors())
        self.assertEqual([f for f in os.listdir(app.program_dir) if f.endswith(".app")], [])

    def test_home_page_labels_hand_the_address_to_the_browser(self):
        record = os.path.join(self.desktop.root, "browser.txt")
        script = os.path.join(self.desktop.root, "browser.sh")
        with open(script, "w") as f:
            f.write(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{record}"\n')
        os.chmod(script, stat.S_IRWXU)
        app = self.start({"BROWSER": script})
        app.click(*HOME_LINK)
        app.click(*CREDIT_LABEL)
        def calls():
            if not os.path.exists(record):
                return []
            with open(record) as f:
                return f.read().splitlines()
        wait_for(lambda: len(calls()) >= 2, what="the browser to be called twice")
        time.sleep(0.5)
        self.assertEqual(calls(), ["http://www.tolvex.example"] * 2)
        self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main(verbosity=2)
