// The start-up benchmark's peer: a plain frameless Qt window with as many children of the
// same kinds as TolvexApp's window (42 labels, 22 text boxes, 10 frames, 2 images, 1 shape),
// and nothing else: no resources, no music.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Peer Window"));
    window.setFixedSize(501, 359);
    for (int i = 0; i < 10; ++i)
        new QFrame(&window);
    for (int i = 0; i < 42; ++i)
        new QLabel(QStringLiteral("Label %1").arg(i), &window);
    for (int i = 0; i < 18; ++i)
        new QLineEdit(&window);
    for (int i = 0; i < 4; ++i)
        new QPlainTextEdit(&window);
    for (int i = 0; i < 2; ++i)
        new QLabel(&window);
    new QWidget(&window);
    window.show();
    return application.exec();
}
