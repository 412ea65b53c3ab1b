#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace orv {

// "文字入力": asks for one line of text (the emitter list commands ask for a name with it).
class CTextInputDlg : public QDialog {
    Q_OBJECT

public:
    // A non-empty title replaces the dialog's own.
    CTextInputDlg(QWidget* parent, const QString& title, const QString& text);

    // The edit's text once the dialog closed with OK.
    QString Text() const { return text_; }
    QLineEdit* Edit() const { return edit_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    QString text_;
};

}  // namespace orv
