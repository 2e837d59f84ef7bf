#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

namespace tolvex {

// An answer box: single-line or multi-line, flat, with the text the applicant typed.
class TextBox {
public:
    virtual ~TextBox() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual QWidget* widget() = 0;
};

class SingleLineBox : public QLineEdit, public TextBox {
    Q_OBJECT
public:
    explicit SingleLineBox(QWidget* parent);
    QString text() const override { return QLineEdit::text(); }
    void setText(const QString& text) override { QLineEdit::setText(text); }
    QWidget* widget() override { return this; }

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
};

// Enter starts a new line; Tab moves on to the next box, as in every other box.
class MultiLineBox : public QPlainTextEdit, public TextBox {
    Q_OBJECT
public:
    explicit MultiLineBox(QWidget* parent);
    QString text() const override { return toPlainText(); }
    void setText(const QString& text) override { setPlainText(text); }
    QWidget* widget() override { return this; }

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    void adaptToLongText(int position);
};

}  // namespace tolvex
