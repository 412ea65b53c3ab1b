#pragma once

#include <QDialog>

#include "app/dialogs/texture_choices.h"
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

// The texture command for the current emitter: the dialog filled from its texture settings and,
// on OK, the choices written into them and the picture loaded. True when OK was applied; on
// cancel the emitter is left untouched.
bool RunTextureCommand(QWidget* parent, Emitter& emitter);

}  // namespace orv
