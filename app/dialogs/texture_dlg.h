#pragma once

#include <QDialog>
#include <optional>

#include "editor/texture_choices.h"
#include "engine/emitter.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace orv {

class CTexturePreview;

// "テクスチャ": the picture file of an emitter's texture with a preview, how the picture is split
// into frames and whether the frames play as an animation or are picked at random.
class CTextureDlg : public QDialog {
    Q_OBJECT
public:
    CTextureDlg(const TextureChoices& choices, QWidget* parent = nullptr);
    ~CTextureDlg() override;

    // What the user chose; meaningful after the dialog was confirmed.
    const TextureChoices& Choices() const { return choices_; }

    // Previews the picture at `path` (a picture that does not load leaves the previous preview).
    void LoadPreview(const QString& path);

public slots:
    void accept() override;

private:
    void Browse();
    void UpdateDurationsEnabled();

    TextureChoices choices_;
    CTexturePreview* preview_ = nullptr;
    QLineEdit* pathEdit_ = nullptr;
    QRadioButton* animationRadio_ = nullptr;
    QRadioButton* randomRadio_ = nullptr;
    QComboBox* splitXList_ = nullptr;
    QComboBox* splitYList_ = nullptr;
    QLineEdit* durationsEdit_ = nullptr;
};

// The texture dialog filled from an emitter's texture settings; what was chosen on OK, nothing on
// cancel.
std::optional<TextureChoices> AskTextureChoices(QWidget* parent, const TextureSettings& texture);

}  // namespace orv
