#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QLineEdit;
class QLabel;

namespace orv {

// "数値入力": asks for one parameter value, shows its range and refuses values outside it.
class CNumberInputDlg : public QDialog {
    Q_OBJECT

public:
    CNumberInputDlg(QWidget* parent, const QString& initialText, std::int32_t minimum, std::int32_t maximum,
                    int decimals);

    // The accepted raw value (valid after the dialog closed with OK).
    std::int32_t Result() const { return result_; }

    // Replaces the refusal's message box (tests observe the refusal without a modal loop).
    void SetRefusalHandler(std::function<void()> handler) { refusal_ = std::move(handler); }

    QLineEdit* Edit() const { return edit_; }
    QLabel* RangeLabel() const { return range_; }

public slots:
    // Parses the edit's text; closes with OK when the value lies in the range, else refuses.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    QLabel* range_;
    std::int32_t minimum_;
    std::int32_t maximum_;
    int decimals_;
    std::int32_t result_ = 0;
    std::function<void()> refusal_;
};

}  // namespace orv
