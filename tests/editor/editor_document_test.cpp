#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "editor/editor_document.h"
#include "editor/number_text.h"
#include "editor/step_names.h"
#include "effectfile/texture_loading.h"
#include "image/png_loader.h"
#include "tests/support/temp_folder.h"

namespace orv {
namespace {

constexpr FrameSize kFrame{800, 600};
const std::u16string kExamples = u"" ORV_SOURCE_DIR "/examples/";

// What an edit may change: the values, the seed, and what the running emitter derives from them.
auto State(const EditorDocument& d) {
    const EmitterRuntime& runtime = d.Current().runtime;
    return std::tuple(ValuesOf(d.GetEffect(), d.Current()), d.GetEffect().Seed(), runtime.capacity,
                      runtime.originX, runtime.originY);
}

TEST(EditorDocumentTest, EveryValueEditAppliesRevertsAndRedoesWithItsName) {
    struct Case {
        const char* what;
        std::function<bool(EditorDocument&)> edit;
        const char16_t* stepName;
        std::function<bool(const EditorDocument&)> took = nullptr;  // what the document and the emitter took
    };
    // (Each flag's own step name is the table's; one flag stands for the rest. The blending's step is
    // the window's: UndoTest.TheMenuNamesTheStepsAndTheTitleMarksUnsavedChangesUntilSavedOrUndone.)
    const Case cases[] = {
        {"slider row", [](EditorDocument& d) { return d.SetRow(kMaxParticles, 321); }, u"最大個数",
         [](const EditorDocument& d) { return d.Current().runtime.capacity == 321; }},
        {"background row", [](EditorDocument& d) { return d.SetRow(kBgR, 500); }, u"背景色R"},
        {"type", [](EditorDocument& d) { return d.SetType(kRadial); }, step_name::kType},
        {"sort", [](EditorDocument& d) { return d.SetSortType(kSortScaleDescending); }, step_name::kSort},
        {"enable colour", [](EditorDocument& d) { return d.SetFlag(EmitterFlag::kEnableColor, false); },
         step_name::kEnableColor},
        // 0 is a seed like any other, distinct from none (how a seed is written is the file's test).
        {"seed 0", [](EditorDocument& d) { return d.SetSeed(0); }, step_name::kSeed,
         [](const EditorDocument& d) { return d.GetEffect().Seed() == 0u; }},
        {"no seed", [](EditorDocument& d) { return d.SetSeed(std::nullopt); }, step_name::kSeed,
         [](const EditorDocument& d) { return !d.GetEffect().Seed(); }},
        {"position beyond the slider",
         [](EditorDocument& d) {
             return d.SetRows(step_name::kPosition, {{kOffsetX, 1500}, {kOffsetY, -20}});
         },
         step_name::kPosition,
         [](const EditorDocument& d) {
             return d.Current().runtime.originX == 1500 && d.Current().runtime.originY == -20;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorDocument document;
        document.GetEffect().SetSeed(5);  // as opened from a file
        const auto original = State(document);
        ASSERT_FALSE(document.IsModified());
        ASSERT_TRUE(c.edit(document));
        const auto edited = State(document);
        EXPECT_NE(edited, original);
        EXPECT_TRUE(!c.took || c.took(document));
        EXPECT_EQ(std::tuple(document.IsModified(), document.UndoName()),
                  std::tuple(true, std::u16string(c.stepName)));
        EXPECT_FALSE(c.edit(document)) << "the same value again is no step";

        ASSERT_TRUE(document.Undo());
        EXPECT_EQ(State(document), original);
        EXPECT_EQ(std::tuple(document.IsModified(), document.CanUndo(), document.RedoName()),
                  std::tuple(false, false, std::u16string(c.stepName)));

        ASSERT_TRUE(document.Redo());
        EXPECT_EQ(std::pair(State(document), document.IsModified()), std::pair(edited, true));
    }
}

TEST(EditorDocumentTest, ResetRestoresTheDefaultsAndItsUndoTheExactValuesAndUndoingTheDurationStopsEmission) {
    EditorDocument document;
    const EditorDocument fresh;
    ASSERT_FALSE(document.ResetCurrent()) << "resetting defaults is no step";
    document.SetRow(kStartSize, 1234);
    document.SetRow(kBgG, 700);
    document.SetType(kRadial);
    const EditedValues edited = ValuesOf(document.GetEffect(), document.Current());
    ASSERT_TRUE(document.ResetCurrent());
    EXPECT_EQ(ValuesOf(document.GetEffect(), document.Current()),
              ValuesOf(fresh.GetEffect(), fresh.Current()));
    EXPECT_EQ(document.Current().runtime.remainingDuration, kEndless);
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(ValuesOf(document.GetEffect(), document.Current()), edited);

    // Undoing the duration stops the emission as the slider does.
    document.SetRow(kDuration, 200);
    document.Current().runtime.remainingDuration = 1.5;
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.Current().runtime.remainingDuration, 0.0);
}

// What a merge case does between its edits of the particle count.
enum class Between { kNothing, kEndMerging, kOtherRow, kOtherEdit, kOtherEmitter, kUndoRedo, kSave };

TEST(EditorDocumentTest, DragsRunsOfStepsAndTypedValuesEachMakeOneStep) {
    const test::TempFolder folder;
    struct Case {
        const char* what;
        EditFlow flow;
        std::vector<std::int32_t> values;  // of the particle count, in turn
        Between between;
        std::size_t steps;
        std::int32_t oldest = 100;  // the particle count with every step undone
        bool modifiedAtOldest = false;
    };
    constexpr auto kRun = EditFlow::kContinuing;
    std::vector<std::int32_t> drag(39), thousand(1005);
    std::iota(drag.begin(), drag.end(), 101);
    std::iota(thousand.begin(), thousand.end(), 1);
    const Case cases[] = {
        {"one drag", kRun, drag, Between::kNothing, 1},
        {"two drags", kRun, {110, 120}, Between::kEndMerging, 2},
        {"steps on two rows", kRun, {110, 120}, Between::kOtherRow, 3},
        {"typed values", EditFlow::kSingle, {110, 120}, Between::kNothing, 2},
        {"another edit between", kRun, {110, 120}, Between::kOtherEdit, 3},
        {"another emitter", kRun, {110, 120}, Between::kOtherEmitter, 3},
        {"drag back to the start", kRun, {150, 100, 130}, Between::kNothing, 1},
        {"drag ending at the saved value drops its step", kRun, {101, 100}, Between::kNothing, 0},
        {"undo and redo between", kRun, {110, 120}, Between::kUndoRedo, 2},
        {"a save between", kRun, {110, 120}, Between::kSave, 2, 100, true},
        // The unmodified state falls out of a history of a thousand steps.
        {"more steps than the history holds", EditFlow::kSingle, thousand, Between::kNothing, 1000, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorDocument d;
        d.SetRow(kMaxParticles, c.values[0], c.flow);
        if (c.between == Between::kEndMerging) d.EndMerging();
        if (c.between == Between::kOtherRow) d.SetRow(kStartSize, 110, kRun);
        if (c.between == Between::kOtherEdit) d.SetType(kRadial);
        if (c.between == Between::kOtherEmitter && d.AddEmitter(u"b")) d.SelectEmitter(0);
        if (c.between == Between::kUndoRedo && d.Undo()) d.Redo();
        if (c.between == Between::kSave) d.SaveAs(folder.Wide("between.orv"));
        for (std::size_t i = 1; i < c.values.size(); ++i) d.SetRow(kMaxParticles, c.values[i], c.flow);
        // A new edit drops the undone ones.
        EXPECT_EQ(std::tuple(d.IsModified(), d.CanUndo(), d.CanRedo()),
                  std::tuple(c.steps > 0, c.steps > 0, false));
        std::size_t steps = 0;
        while (d.Undo()) ++steps;
        EXPECT_EQ(std::tuple(steps, d.Current().params.raw[kMaxParticles], d.IsModified()),
                  std::tuple(c.steps, c.oldest, c.modifiedAtOldest));
    }
}

// Refused list edits record nothing; the others undo to the same emitter objects in their places.
TEST(EditorDocumentTest, EmitterListEditsUndoToTheSameEmittersInTheirPlacesAndRefusedOnesRecordNothing) {
    EditorDocument document;
    EXPECT_FALSE(document.DeleteCurrent() || document.MoveCurrent(MoveEdit::Direction::kUp) ||
                 document.MoveCurrent(MoveEdit::Direction::kDown) || document.AddEmitter(u"") ||
                 document.RenameCurrent(u"emitter 01") || document.RenameCurrent(u""));
    EXPECT_EQ(std::pair(document.CanUndo(), document.IsModified()), std::pair(false, false));

    Effect& effect = document.GetEffect();
    // The emitter at `index` and its name in the list.
    const auto at = [&](std::size_t index) {
        return std::pair(&effect.EmitterAt(index), effect.NameAt(index));
    };
    using Entry = std::pair<Emitter*, std::u16string>;
    Emitter* first = &document.Current();
    ASSERT_TRUE(document.AddEmitter(u"second"));
    Emitter* second = &document.Current();
    ASSERT_TRUE(document.AddEmitter(u"third"));
    ASSERT_TRUE(LoadEmitterTexture(document.Current(), kExamples + u"textures/flame.png"));
    document.SetRow(kStartSize, 777);
    Emitter* third = &document.Current();

    document.SelectEmitter(1);
    ASSERT_TRUE(document.DeleteCurrent());
    EXPECT_EQ(&document.Current(), first) << "a deletion leaves the first emitter current";
    ASSERT_TRUE(document.Undo());
    ASSERT_EQ(effect.Count(), 3u);
    EXPECT_EQ(std::pair(at(1), &document.Current()), std::pair(Entry(second, u"second"), second));

    document.SelectEmitter(2);
    ASSERT_TRUE(document.RenameCurrent(u"flames"));
    ASSERT_TRUE(document.MoveCurrent(MoveEdit::Direction::kUp));
    EXPECT_EQ(std::tuple(at(1), document.UndoName()),
              std::tuple(Entry(third, u"flames"), std::u16string(step_name::kMoveUp)));
    ASSERT_TRUE(document.DeleteCurrent());
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(
        std::tuple(&effect.EmitterAt(1), third->texture.Image() != nullptr, third->params.raw[kStartSize]),
        std::tuple(third, true, 777));
    ASSERT_TRUE(document.Undo());  // up
    ASSERT_TRUE(document.Undo());  // rename
    EXPECT_EQ(at(2), Entry(third, u"third"));

    while (document.Undo()) continue;
    EXPECT_EQ(std::pair(effect.Count(), &document.Current()), std::pair(std::size_t{1}, first));
    while (document.Redo()) continue;
    ASSERT_EQ(effect.Count(), 2u) << "the last step redone deletes the moved emitter";
    EXPECT_EQ(std::pair(&effect.EmitterAt(1), &document.Current()), std::pair(second, first));
}

TEST(EditorDocumentTest, TextureAndBackgroundImageEditsSwapTheWholePictureBack) {
    EditorDocument document;
    const TextureSettings& texture = document.Current().texture;
    // The picture, its frame count and its file name.
    const auto shown = [&] { return std::tuple(texture.Image(), texture.FrameCount(), texture.FileName()); };
    const auto none = shown();
    ASSERT_TRUE(document.DropTexture(kExamples + u"textures/flame.png"));
    const auto flame = shown();
    ASSERT_NE(std::get<0>(flame), nullptr);
    EXPECT_FALSE(document.DropTexture(kExamples + u"missing.png"));

    TextureSettings after = texture.CopyWithoutImage();
    after.SetSplitX(4);
    after.SetFileName(u"elsewhere.png");  // a path that did not load keeps the picture
    ASSERT_TRUE(document.ReplaceTexture(std::move(after), step_name::kTexture));
    EXPECT_EQ(std::tuple(texture.Image() != nullptr, texture.FrameCount(), texture.FileName()),
              std::tuple(true, 4u, std::u16string(u"elsewhere.png")));
    EXPECT_FALSE(document.ReplaceTexture(texture.CopyWithoutImage(), step_name::kTexture));
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(shown(), flame);
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(shown(), none);

    // The background image is undone too, without touching the modified state.
    ASSERT_TRUE(document.SetBackgroundImage(LoadPng(kExamples + u"textures/soft_glow.png")));
    EXPECT_FALSE(document.IsModified()) << "the image is not part of the file";
    ASSERT_TRUE(document.ReleaseBackgroundImage());
    EXPECT_FALSE(document.ReleaseBackgroundImage());
    ASSERT_TRUE(document.Undo());
    EXPECT_NE(document.BackgroundImage(), nullptr);
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(std::pair(document.BackgroundImage(), document.IsModified()),
              std::pair(static_cast<const FrameBuffer*>(nullptr), false));
}

TEST(EditorDocumentTest, SavingOpeningAndNewSetTheModifiedStateAndTheHistory) {
    test::TempFolder folder;
    EditorDocument document;
    // The current file, whether the document is modified and whether it can undo.
    const auto status = [&] {
        return std::tuple(document.FilePath(), document.IsModified(), document.CanUndo());
    };
    EXPECT_FALSE(document.Save().has_value()) << "no current file: nothing happens";
    document.SetRow(kMaxParticles, 200);
    const std::u16string path = folder.Wide("a.orv");
    ASSERT_FALSE(document.SaveAs(path).has_value());
    EXPECT_EQ(status(), std::tuple(path, false, true)) << "saving keeps the history";

    document.SetRow(kMaxParticles, 300);
    document.Undo();
    EXPECT_FALSE(document.IsModified()) << "back at the saved state";
    document.Undo();
    EXPECT_TRUE(document.IsModified()) << "before the saved state";
    document.SetRow(kMaxParticles, 250);
    document.Undo();
    EXPECT_TRUE(document.IsModified()) << "the saved state was undone and replaced";

    EXPECT_TRUE(document.SaveAs(folder.Wide("missing-folder/b.orv")).has_value());
    EXPECT_TRUE(document.IsModified());

    // (What an open shows is EditorCommandsTest.OpenMergeNewAndDropShowTheirEffectAndEngineFilesReportOnce.)
    ASSERT_TRUE(document.Open(path, kFrame).loaded);
    EXPECT_FALSE(document.Open(folder.Wide("none.orv"), kFrame).loaded);
    EXPECT_EQ(status(), std::tuple(path, false, false)) << "a failed open changes nothing";

    document.SetRow(kBgB, 900);
    document.GetEffect().SetSeed(7);
    document.New();
    EXPECT_EQ(status(), std::tuple(std::u16string(), false, false));
    // A seed belongs to the file it came from; New keeps the background.
    EXPECT_EQ(std::pair(document.GetEffect().Seed(), document.GetEffect().BackgroundRaw(kBgB)),
              std::pair(std::optional<std::uint64_t>(), 900));
}

// The digits' own rules (no sign, no exponent, 64 bits) are ParseSeed's, which the file's seed shares:
// EffectReader.OnlyNonNegativeWholeNumbersOf64BitsAreReadAsTheSeed. Typed, spaces may surround the
// digits, and only ASCII digits count.
TEST(EditorDocumentTest, TypedSeedsAreDigitsBetweenSpaces) {
    EXPECT_EQ(ParseSeedInput(u"  7 "), 7u);
    for (const char16_t* refused : {u"", u"   ", u"1 2", u"-1", u"\uFF11\uFF12"})
        EXPECT_EQ(ParseSeedInput(refused), std::nullopt) << testing::PrintToString(refused);
}

TEST(EditorDocumentTest, MergeLoadIsOneStepWithTheFileAndBackground) {
    test::TempFolder folder;
    const std::u16string path = folder.Wide("seeded.orv");
    test::WriteFileBytes(folder.Path() / "seeded.orv",
                         R"({"bg_r": 0.035, "seed": 42, "emitter": [{}, {"name": "x"}]})");
    EditorDocument document;
    document.SetRow(kBgR, 10);
    Emitter* first = &document.Current();
    document.AddEmitter(u"mine");
    // The seed, the emitter count, the background's red, the current file and the last name listed.
    const auto status = [&] {
        const Effect& e = document.GetEffect();
        return std::tuple(e.Seed(), e.Count(), e.BackgroundRaw(kBgR), document.FilePath(),
                          e.NameAt(e.Count() - 1));
    };
    const auto before = status();
    ASSERT_TRUE(document.MergeLoad(path, kFrame).loaded);
    const auto merged = status();
    EXPECT_EQ(merged, std::tuple(std::optional<std::uint64_t>(42), 4u, 35, path, std::u16string(u"x")));
    EXPECT_EQ(std::tuple(&document.Current(), document.UndoName()),
              std::tuple(first, std::u16string(step_name::kMergeLoad)));
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(status(), before);
    ASSERT_TRUE(document.Redo());
    EXPECT_EQ(status(), merged);
}

// (Which files a drop opens is the window's drop test, and an extension only in a folder's name is
// PathUtils'; upper-case extensions, pictures and the folder last used are the window's too.)
TEST(EditorDocumentTest, SaveAsProposesTheCurrentFileAsOrv) {
    EXPECT_EQ(ProposedSaveName(u"/a/b/fire.json", u"/home/"), u"/a/b/fire.orv");
}

}  // namespace
}  // namespace orv
