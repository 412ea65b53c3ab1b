#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/qt_text.h"
#include "app/dialogs/texture_choices.h"
#include "app/dialogs/texture_dlg.h"
#include "app/dialogs/texture_preview.h"
#include "app/dialogs/texture_preview_image.h"
#include "image/png_writer.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

using test::Child;

using Durations = std::vector<std::uint32_t>;

// Writes an opaque picture of the given size and returns its path.
QString WritePng(const QTemporaryDir& dir, const char* name, std::uint32_t width, std::uint32_t height) {
    Texture texture;
    texture.colour.emplace(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) texture.colour->At(x, y) = 0xff204060u;
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(SavePng(ToU16(path), texture));
    return path;
}

TEST(FrameDurationsText, EmptyPiecesCountExceptATrailingOne) {
    EXPECT_EQ(ParseFrameDurations(u"100,,200"), (Durations{100, 0, 200}));
    EXPECT_EQ(ParseFrameDurations(u"100,200,"), (Durations{100, 200}));
    EXPECT_EQ(ParseFrameDurations(u""), Durations{});
    EXPECT_EQ(ParseFrameDurations(u","), (Durations{0}));
}

TEST(FrameDurationsText, PiecesReadTheirLeadingDigitsOnly) {
    EXPECT_EQ(ParseFrameDurations(u"abc,70ms, 30,-5"), (Durations{0, 70, 30, 0}));
    // Too many digits saturate instead of wrapping round to a short duration.
    EXPECT_EQ(ParseFrameDurations(u"99999999999"), (Durations{4294967295u}));
}

TEST(FrameDurationsText, WrittenBackCommaSeparated) {
    EXPECT_EQ(FormatFrameDurations({100, 100, 250}), u"100,100,250");
    EXPECT_EQ(FormatFrameDurations({}), u"");
    EXPECT_EQ(ParseFrameDurations(FormatFrameDurations({4000000000u, 7})), (Durations{4000000000u, 7}));
}

TEST(TextureChoicesTest, ApplyingStoresSplitsDurationsAndLoadsThePicture) {
    QTemporaryDir dir;
    const QString png = WritePng(dir, "sheet.png", 256, 128);
    Emitter emitter;
    TextureChoices choices;
    choices.path = ToU16(png);
    choices.isAnimation = true;
    choices.splitX = 4;
    choices.splitY = 2;
    choices.durationsText = u"100,,200";
    ApplyTextureChoices(emitter, choices);

    const TextureSettings& texture = emitter.texture;
    ASSERT_NE(texture.Image(), nullptr);
    EXPECT_EQ(texture.FileName(), choices.path);
    EXPECT_TRUE(texture.IsAnimation());
    EXPECT_EQ(texture.FrameWidth(), 64u);
    EXPECT_EQ(texture.FrameHeight(), 64u);
    EXPECT_EQ(texture.FrameCount(), 8u);
    EXPECT_EQ(texture.FrameDurations(), (Durations{100, 0, 200}));
    EXPECT_EQ(texture.TotalAnimationTime(), 300u);
}

TEST(TextureChoicesTest, AMissingFileChangesTheNameButKeepsThePicture) {
    QTemporaryDir dir;
    Emitter emitter;
    TextureChoices choices;
    choices.path = ToU16(WritePng(dir, "a.png", 8, 8));
    choices.durationsText = u"50,50";
    ApplyTextureChoices(emitter, choices);
    const Texture* before = emitter.texture.Image();
    ASSERT_NE(before, nullptr);

    choices.path = ToU16(dir.filePath(QStringLiteral("missing.png")));
    choices.durationsText.clear();
    ApplyTextureChoices(emitter, choices);
    EXPECT_EQ(emitter.texture.Image(), before);
    EXPECT_EQ(emitter.texture.FileName(), choices.path);
    EXPECT_TRUE(emitter.texture.FrameDurations().empty());
    EXPECT_EQ(emitter.texture.TotalAnimationTime(), 100u);  // an emptied list keeps its total
}

TEST(TextureChoicesTest, SplitsTheListCannotShowStartAtOne) {
    TextureSettings texture;
    texture.SetSplitX(40);
    texture.SetSplitY(32);
    texture.SetFrameDurations({100, 100, 250});
    const TextureChoices choices = ChoicesFromTexture(texture);
    EXPECT_EQ(choices.splitX, 1u);
    EXPECT_EQ(choices.splitY, 32u);
    EXPECT_EQ(choices.durationsText, u"100,100,250");
}

TEST(TexturePreviewImage, BlendsOntoBlackAndClearsAlpha) {
    FrameBuffer image(2, 1);
    image.At(0, 0) = 0x80ff8040u;
    image.At(1, 0) = 0x00ffffffu;
    const FrameBuffer preview = BlendOntoBlack(image);
    EXPECT_EQ(preview.At(0, 0), 0x007f4020u);
    EXPECT_EQ(preview.At(1, 0), 0u);
}

TEST(TextureDialog, DurationsEditableOnlyForAnimation) {
    TextureChoices choices;
    choices.durationsText = u"10,20";
    CTextureDlg dialog(choices);
    auto* durations = Child<QLineEdit>(dialog, "durations");
    auto* animation = Child<QRadioButton>(dialog, "animation");
    auto* random = Child<QRadioButton>(dialog, "random");
    ASSERT_TRUE(durations && animation && random);
    EXPECT_TRUE(random->isChecked());
    EXPECT_FALSE(durations->isEnabled());

    animation->click();
    EXPECT_TRUE(durations->isEnabled());
    random->click();
    EXPECT_FALSE(durations->isEnabled());

    // The disabled edit's text is still what OK hands over.
    dialog.accept();
    EXPECT_FALSE(dialog.Choices().isAnimation);
    EXPECT_EQ(dialog.Choices().durationsText, u"10,20");
}

TEST(TextureDialog, PreviewsOnlyPicturesThatLoad) {
    QTemporaryDir dir;
    TextureChoices choices;
    choices.path = ToU16(WritePng(dir, "a.png", 4, 4));
    CTextureDlg dialog(choices);
    auto* preview = Child<CTexturePreview>(dialog, "preview");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->HasPreview());

    QFile notPng(dir.filePath(QStringLiteral("b.png")));
    ASSERT_TRUE(notPng.open(QIODevice::WriteOnly));
    notPng.write("not a picture");
    notPng.close();
    TextureChoices other;
    other.path = ToU16(notPng.fileName());
    CTextureDlg second(other);
    EXPECT_FALSE(Child<CTexturePreview>(second, "preview")->HasPreview());
}

TEST(TextureCommand, CancelLeavesTheEmitterUntouched) {
    QTemporaryDir dir;
    Emitter emitter;
    TextureChoices first;
    first.path = ToU16(WritePng(dir, "first.png", 8, 8));
    first.durationsText = u"40";
    ApplyTextureChoices(emitter, first);
    const Texture* image = emitter.texture.Image();
    const QString other = WritePng(dir, "other.png", 16, 16);

    test::WhenModalShown([other](QWidget& dialog) {
        // As if the user had browsed to another picture and chosen another split.
        Child<QLineEdit>(dialog, "imagePath")->setText(other);
        Child<QComboBox>(dialog, "splitX")->setCurrentIndex(3);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(RunTextureCommand(nullptr, emitter));
    EXPECT_EQ(emitter.texture.Image(), image);
    EXPECT_EQ(emitter.texture.FileName(), first.path);
    EXPECT_EQ(emitter.texture.SplitX(), 1u);
    EXPECT_EQ(emitter.texture.FrameDurations(), Durations{40});
}

TEST(TextureCommand, OkLoadsTheChosenPicture) {
    QTemporaryDir dir;
    Emitter emitter;
    const QString path = WritePng(dir, "sheet.png", 64, 32);
    test::WhenModalShown([path](QWidget& dialog) {
        Child<QLineEdit>(dialog, "imagePath")->setText(path);
        Child<QRadioButton>(dialog, "animation")->click();
        Child<QLineEdit>(dialog, "durations")->setText(QStringLiteral("100,200,"));
        Child<QComboBox>(dialog, "splitX")->setCurrentIndex(1);
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_TRUE(RunTextureCommand(nullptr, emitter));
    ASSERT_NE(emitter.texture.Image(), nullptr);
    EXPECT_EQ(emitter.texture.FrameWidth(), 32u);
    EXPECT_TRUE(emitter.texture.IsAnimation());
    EXPECT_EQ(emitter.texture.FrameDurations(), (Durations{100, 200}));
    EXPECT_EQ(emitter.texture.TotalAnimationTime(), 300u);
}

}  // namespace
}  // namespace orv
