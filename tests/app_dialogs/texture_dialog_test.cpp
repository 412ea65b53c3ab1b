#include <QRadioButton>

#include "app/dialogs/texture_dlg.h"
#include "app/dialogs/texture_preview.h"
#include "editor/texture_choices.h"
#include "editor/texture_preview_image.h"
#include "image/png_writer.h"
#include "render/frame_composition.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

using test::Child;
using Durations = std::vector<std::uint32_t>;

class TextureTest : public testing::Test {
protected:
    // Writes an opaque picture of the given size and returns its path.
    std::u16string WritePng(const char* name, std::uint32_t width, std::uint32_t height) {
        Texture texture;
        texture.colour.emplace(width, height);
        ClearFrame(*texture.colour, 0xff204060u, false);
        const std::u16string path = ToU16(dir_.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(SavePng(path, texture));
        return path;
    }
    QTemporaryDir dir_;
    Emitter emitter_;
};

TEST(FrameDurationsText, EmptyPiecesCountExceptATrailingOneAndPiecesReadLeadingDigits) {
    // (An empty piece in the middle is the applying test's.) Too many digits saturate instead of
    // wrapping round to a short duration.
    using Case = std::pair<std::u16string_view, Durations>;
    for (const auto& [text, durations] :
         {Case{u"100,200,", {100, 200}}, Case{u"", {}}, Case{u",", {0}},
          Case{u"abc,70ms, 30,-5", {0, 70, 30, 0}}, Case{u"99999999999", {4294967295u}}})
        EXPECT_EQ(ParseFrameDurations(text), durations);
    EXPECT_EQ(ParseFrameDurations(FormatFrameDurations({4000000000u, 7})), (Durations{4000000000u, 7}));
}

// (A file that does not load keeps the picture, and an emptied list its total: the loading's and
// the texture's own tests.)
TEST_F(TextureTest, ApplyingStoresSplitsAndDurationsAndShowingClampsSplits) {
    TextureChoices choices{.path = WritePng("sheet.png", 256, 128),
                           .durationsText = u"100,,200",
                           .isAnimation = true,
                           .splitX = 4,
                           .splitY = 2};
    ApplyTextureChoices(emitter_.texture, choices);
    const TextureSettings& texture = emitter_.texture;  // its frame sizes need the picture
    EXPECT_EQ(
        std::tuple(texture.FileName(), texture.IsAnimation(), texture.FrameWidth(), texture.FrameHeight(),
                   texture.FrameCount(), texture.FrameDurations(), texture.TotalAnimationTime()),
        std::tuple(choices.path, true, 64u, 64u, 8u, Durations{100, 0, 200}, 300u));

    // Splits the list cannot show start at 1.
    emitter_.texture.SetSplitX(40);
    emitter_.texture.SetSplitY(32);
    emitter_.texture.SetFrameDurations({100, 100, 250});
    const TextureChoices shown = ChoicesFromTexture(emitter_.texture);
    EXPECT_EQ(std::tuple(shown.splitX, shown.splitY, shown.durationsText),
              std::tuple(1u, 32u, u"100,100,250"));
}

TEST_F(TextureTest, DialogPreviewsOnlyPicturesThatLoadAndEditsDurationsOnlyForAnimation) {
    FrameBuffer image(2, 1);
    image.At(0, 0) = 0x80ff8040u;
    image.At(1, 0) = 0x00ffffffu;
    const FrameBuffer blended = BlendOntoBlack(image);
    EXPECT_EQ(std::pair(blended.At(0, 0), blended.At(1, 0)), std::pair(0x007f4020u, 0u)) << "alpha cleared";

    CTextureDlg broken(
        TextureChoices{.path = ToU16(dir_.filePath(QStringLiteral("missing.png"))), .durationsText = {}});
    EXPECT_FALSE(Child<CTexturePreview>(broken, "preview")->HasPreview());

    CTextureDlg dialog(TextureChoices{.path = WritePng("a.png", 4, 4), .durationsText = u"10,20"});
    EXPECT_TRUE(Child<CTexturePreview>(dialog, "preview")->HasPreview());
    auto* durations = Child<QLineEdit>(dialog, "durations");
    auto* random = Child<QRadioButton>(dialog, "random");
    EXPECT_TRUE(random->isChecked() && !durations->isEnabled());
    Child<QRadioButton>(dialog, "animation")->click();
    EXPECT_TRUE(durations->isEnabled());
    random->click();
    EXPECT_FALSE(durations->isEnabled());
    // The disabled edit's text is still what OK hands over.
    dialog.accept();
    EXPECT_EQ(std::pair(dialog.Choices().isAnimation, dialog.Choices().durationsText),
              std::pair(false, std::u16string(u"10,20")));
}

TEST_F(TextureTest, DialogCancelChoosesNothingAndOkHandsOverTheChoice) {
    const QString other = ToQString(WritePng("other.png", 64, 32));
    test::WhenModalShown([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_FALSE(AskTextureChoices(nullptr, emitter_.texture).has_value());

    test::WhenModalShown([other](QWidget& dialog) {
        Child<QLineEdit>(dialog, "imagePath")->setText(other);
        Child<QComboBox>(dialog, "splitX")->setCurrentIndex(1);
        test::Confirm(dialog);
    });
    // What applying the choice does is the test above; the durations the dialog hands over, the
    // test before.
    const std::optional<TextureChoices> chosen = AskTextureChoices(nullptr, emitter_.texture);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(std::pair(chosen->path, chosen->splitX), std::pair(ToU16(other), 2u));
}

}  // namespace
}  // namespace orv
