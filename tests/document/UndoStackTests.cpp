// The document's undo stack: which changes become steps and what they are
// called, undo and redo giving back the same settings and the same result
// bytes while remaking only what differs, drags as single steps, the edited
// mark following the clean state, and what clears the stack.

#include "document/model/TintDocument.h"
#include "document/model/SettingsStep.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/SettingsStepName.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QUndoStack>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

class UndoStackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid());
        doc.refreshUIFromModel();
    }

    QUndoStack& stack() { return doc.undoStack(); }

    // The exact result as bytes.
    QByteArray result()
    {
        const std::optional<BitmapRep>& image = doc.pipeline().finalMixImage();
        if (!image)
            return {};
        return QByteArray(reinterpret_cast<const char*>(image->bitmapData()),
                          qsizetype(image->byteCount()));
    }

    template <class Edit>
    bool change(Edit edit)
    {
        return doc.changeSetting(edit);
    }

    IsolatedSettings settings{"UndoStackTests"};
    TintDocument doc;
};

} // namespace

TEST_F(UndoStackTest, ChangesBecomeStepsNamedAfterTheirControl)
{
    // The stored value again is no change and no step.
    EXPECT_FALSE(change([](TintSettings& s) { s.userHue = 59; }));
    EXPECT_EQ(stack().count(), 0);

    const struct {
        std::function<void(TintSettings&)> edit;
        const char* name;
    } cases[] = {
        {[](TintSettings& s) { s.userHue = 20; }, "Hue"},
        {[](TintSettings& s) { s.userAlpha = 70; }, "Opacity"},
        {[](TintSettings& s) { s.shadowDensity = 10; }, "Shadow Density"},
        {[](TintSettings& s) { s.useOriginalSaturation = true; }, "Original Saturation"},
        {[](TintSettings& s) { s.circularRainbow = true; }, "Rainbow Type"},
        {[](TintSettings& s) { s.rainbowXOffset = 0.2f; s.rainbowYOffset = 0.1f; }, "Rainbow Sweep"},
        {[](TintSettings& s) { s.sourceBugY = 9; }, "Rainbow Centre"},
        {[](TintSettings& s) { s.shadowXOffset = 3; }, "Shadow Offset"},
        {[](TintSettings& s) { s.finalSize = 60; }, "Final Size"},
        {[](TintSettings& s) { s.userHue = 30; s.finalSize = 70; }, "Settings"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(change(c.edit)) << c.name;
        EXPECT_EQ(stack().undoText(), QString::fromLatin1(c.name));
    }
    EXPECT_EQ(stack().count(), int(std::size(cases)));

    doc.useGraphitePresets();
    EXPECT_EQ(stack().undoText(), QStringLiteral("Graphite"));
    // A preset that changes nothing leaves no step.
    doc.useGraphitePresets();
    EXPECT_EQ(stack().undoText(), QStringLiteral("Graphite"));
    EXPECT_EQ(stack().count(), int(std::size(cases)) + 1);
    doc.useDefaultSettings();
    EXPECT_EQ(stack().undoText(), QStringLiteral("Default Settings"));

    // Display options and the rendering switch are not document edits.
    const int steps = stack().count();
    TintSettings display = doc.settings();
    display.destInteriorStyle = 4;
    display.sourceShowsBounds = true;
    doc.changeDisplayOptions(display);
    doc.toggleTinting();
    doc.toggleTinting();
    EXPECT_EQ(stack().count(), steps);
}

TEST_F(UndoStackTest, UndoAndRedoGiveBackTheSettingsAndTheResultRemakingOnlyWhatDiffers)
{
    const TintSettings start = doc.settings();
    const QByteArray startBytes = result();
    ASSERT_FALSE(startBytes.isEmpty());

    ASSERT_TRUE(change([](TintSettings& s) { s.finalSize = 80; }));
    const TintSettings resized = doc.settings();
    const QByteArray resizedBytes = result();
    ASSERT_NE(resizedBytes, startBytes);

    // Display options changed meanwhile stay as they are.
    TintSettings display = doc.settings();
    display.destInteriorStyle = 0;
    doc.changeDisplayOptions(display);

    const StageCounts before = doc.pipeline().stageCounts();
    stack().undo();
    const StageCounts after = doc.pipeline().stageCounts();
    EXPECT_EQ(after.finalMix, before.finalMix + 1);
    EXPECT_EQ(after.composite, before.composite);
    EXPECT_EQ(after.tinted, before.tinted);
    TintSettings expected = start;
    expected.destInteriorStyle = 0;
    EXPECT_EQ(doc.settings(), expected);
    EXPECT_EQ(result(), startBytes);

    stack().redo();
    expected = resized;
    expected.destInteriorStyle = 0;
    EXPECT_EQ(doc.settings(), expected);
    EXPECT_EQ(result(), resizedBytes);

    // A preset, undone: every field it wrote comes back, bytes and all.
    const QByteArray beforePreset = result();
    doc.useInactivePresets();
    ASSERT_NE(result(), beforePreset);
    stack().undo();
    EXPECT_EQ(doc.settings(), expected);
    EXPECT_EQ(result(), beforePreset);
}

TEST_F(UndoStackTest, ADragIsOneStepFromPressToRelease)
{
    const TintSettings start = doc.settings();
    doc.beginSettingsDrag();
    for (float hue : {40.0f, 45.0f, 50.0f})
        ASSERT_TRUE(change([hue](TintSettings& s) { s.userHue = hue; }));
    EXPECT_EQ(stack().count(), 0);
    EXPECT_TRUE(doc.isDocumentEdited());
    doc.endSettingsDrag();
    ASSERT_EQ(stack().count(), 1);
    EXPECT_EQ(stack().undoText(), QStringLiteral("Hue"));
    auto* step = static_cast<const SettingsStep*>(stack().command(0));
    EXPECT_EQ(step->before().userHue, 59.0f);
    EXPECT_EQ(step->after().userHue, 50.0f);
    stack().undo();
    EXPECT_EQ(doc.settings(), start);
    EXPECT_FALSE(doc.isDocumentEdited());

    // A drag that ends where it began leaves nothing.
    stack().redo();
    doc.beginSettingsDrag();
    change([](TintSettings& s) { s.userHue = 10; });
    change([](TintSettings& s) { s.userHue = 50; });
    doc.endSettingsDrag();
    EXPECT_EQ(stack().count(), 1);
    EXPECT_EQ(stack().index(), 1);
}

TEST_F(UndoStackTest, TheEditedMarkFollowsTheCleanState)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("marks.gelcoat"));
    change([](TintSettings& s) { s.userHue = 20; });
    EXPECT_TRUE(doc.isDocumentEdited());
    stack().undo();
    EXPECT_FALSE(doc.isDocumentEdited());
    stack().redo();
    EXPECT_TRUE(doc.isDocumentEdited());

    // Saving makes the state after the hue change the clean one.
    ASSERT_TRUE(doc.saveDocumentAs(path).ok);
    EXPECT_FALSE(doc.isDocumentEdited());
    stack().undo();
    EXPECT_TRUE(doc.isDocumentEdited());
    stack().redo();
    EXPECT_FALSE(doc.isDocumentEdited());

    // A change off the stack (the export path is saved with the document)
    // keeps the mark whatever is undone.
    change([](TintSettings& s) { s.userHue = 25; });
    doc.recordDestImagePath(dir.filePath(QStringLiteral("out.tiff")));
    stack().undo();
    EXPECT_TRUE(doc.isDocumentEdited());
    ASSERT_TRUE(doc.saveDocument().ok);
    EXPECT_FALSE(doc.isDocumentEdited());
}

TEST_F(UndoStackTest, StencilReplacementAndRevertClearTheStack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("revert.gelcoat"));
    ASSERT_TRUE(doc.saveDocumentAs(path).ok);
    change([](TintSettings& s) { s.userHue = 20; });
    change([](TintSettings& s) { s.userSaturation = 20; });
    ASSERT_TRUE(doc.revertDocumentToSaved().ok);
    EXPECT_EQ(stack().count(), 0);
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_EQ(doc.settings().userHue, 59.0f);

    const auto replacements = std::initializer_list<std::function<bool()>>{
        [this] {
            SourcePicture picture;
            picture.pixels = makeBuffer(12, 12);
            return doc.useImage(std::move(picture), QString(), true, false);
        },
        [this] { return doc.invertSource(); },
        [this] { return doc.takeFootStencil(); },
        [this] { return doc.takeMossStencil(); },
    };
    for (const auto& replace : replacements) {
        doc.clearChangeCount();
        change([](TintSettings& s) { s.userHue = 33; });
        stack().undo();
        ASSERT_FALSE(doc.isDocumentEdited());
        ASSERT_TRUE(replace());
        EXPECT_EQ(stack().count(), 0);
        EXPECT_TRUE(doc.isDocumentEdited());
    }
}

TEST_F(UndoStackTest, TheStackKeepsTheLastThousandSteps)
{
    ASSERT_EQ(Document::kUndoLimit, 1000);
    for (int i = 1; i <= Document::kUndoLimit + 5; ++i)
        change([i](TintSettings& s) { s.userAlpha = float(i) / 16.0f; });
    EXPECT_EQ(stack().count(), Document::kUndoLimit);
    while (stack().canUndo())
        stack().undo();
    EXPECT_EQ(doc.settings().userAlpha, 5.0f / 16.0f);
    // The clean state went with the oldest steps.
    EXPECT_TRUE(doc.isDocumentEdited());
}

TEST(SettingsStepNames, NameTheControlOfTheFieldsThatDiffer)
{
    TintSettings a;
    TintSettings b = a;
    EXPECT_TRUE(settingsStepName(a, b).isEmpty());
    b.destShowsBounds = true; // a display option: no control of the settings
    EXPECT_TRUE(settingsStepName(a, b).isEmpty());
    b.shadowYOffset = 7;
    EXPECT_EQ(settingsStepName(a, b), QStringLiteral("Shadow Offset"));
    b.shadowXOffset = 7;
    EXPECT_EQ(settingsStepName(a, b), QStringLiteral("Shadow Offset"));
    b.shadowSharpness = 7;
    EXPECT_EQ(settingsStepName(a, b), QStringLiteral("Settings"));
    EXPECT_EQ(presetStepName(TintPreset::BlueHighlighted), QStringLiteral("Blue Highlighted"));
    // A setting added without a name would make its steps "Undo Settings".
    for (const SettingField& field : settingFields())
        EXPECT_EQ(field.isDisplayOption(), field.stepName == nullptr) << field.key;
}
