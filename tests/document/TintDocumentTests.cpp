#include "document/model/TintDocument.h"
#include "document/resources/BundleImages.h"
#include "document/settings/DisplayDefaults.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstring>
#include <new>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// Each test gets an empty user-defaults store of its own.
class TintDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(settings.isValid()); }

    SourcePicture pictureOf(BitmapRep pixels)
    {
        SourcePicture p;
        p.pixels = std::move(pixels);
        return p;
    }

    IsolatedSettings settings{"TintDocumentTests"};
};

} // namespace

// The pixels of a buffer, row by row, as one FNV-1a number.
static std::uint64_t fingerprint(const BitmapRep& image)
{
    std::uint64_t h = 0xcbf29ce484222325u;
    for (int y = 0; y < image.pixelsHigh(); ++y) {
        const std::uint8_t* row = image.bitmapData() + std::size_t(y) * image.bytesPerRow();
        for (int i = 0; i < image.pixelsWide() * 4; ++i)
            h = (h ^ row[i]) * 0x100000001b3u;
    }
    return h;
}

// A new document is the settings table's defaults on the start picture: it
// renders byte for byte as the pipeline renders that stencil with default
// settings. (That the defaults themselves are right, the command-line
// tests check against the render they have always given.)
TEST_F(TintDocumentTest, NewDocumentRendersTheDefaultsOnTheStartPicture)
{
    TintDocument doc;
    ASSERT_TRUE(doc.sourceImage());
    EXPECT_EQ(doc.sourceImage()->pixelsWide(), 256);
    EXPECT_FALSE(doc.sourceImageIsSimple());
    EXPECT_TRUE(doc.sourceImagePath().isEmpty());
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_TRUE(doc.gelcoatOn());
    EXPECT_EQ(doc.pipeline().stageCounts(), StageCounts{}); // nothing renders in init
    doc.refreshUIFromModel();
    ASSERT_TRUE(doc.pipeline().finalMixImageValid());
    const BitmapRep& made = *doc.pipeline().finalMixImage();

    const TintSettings defaults;
    RenderPipeline pipeline;
    pipeline.remakeGelcoatWithChanges({&*doc.sourceImage(), false, &defaults},
                                      PipelineChanges::all());
    ASSERT_TRUE(pipeline.finalMixImageValid());
    EXPECT_EQ(fingerprint(made), fingerprint(*pipeline.finalMixImage()));
    EXPECT_EQ(made.pixelsWide(), 128);

    // Display options from an empty store: the registered fallbacks, which
    // are never written to the user's store.
    const TintSettings& s = doc.settings();
    EXPECT_TRUE(s.sourceShowsSize && s.sourceShrinksIfNecessary && s.destShowsSize &&
                s.destShrinksIfNecessary);
    EXPECT_FALSE(s.sourceShowsBounds || s.destShowsBounds);
    EXPECT_EQ(s.destInteriorStyle, 3);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

// A member the settings table leaves out would be neither set to its
// default nor saved: a new settings record made over any bytes is the same.
TEST(SettingsTable, SetsEveryMember)
{
    alignas(TintSettings) unsigned char a[sizeof(TintSettings)];
    alignas(TintSettings) unsigned char b[sizeof(TintSettings)];
    std::memset(a, 0x00, sizeof a);
    std::memset(b, 0x01, sizeof b);
    const TintSettings* x = new (a) TintSettings;
    const TintSettings* y = new (b) TintSettings;
    EXPECT_TRUE(*x == *y);
    for (const SettingField& f : settingFields())
        EXPECT_EQ(settingFieldForKey(f.key), &f) << f.key;
}

TEST_F(TintDocumentTest, DisplayOptionsFollowTheUserDefaults)
{
    QSettings store;
    store.setValue(QStringLiteral("SourceShowsSize"), QStringLiteral("NO"));
    store.setValue(QStringLiteral("DestShowsBounds"), QStringLiteral("YES"));
    store.setValue(QStringLiteral("DestShrinksIfNecessary"), QStringLiteral("no"));
    store.setValue(QStringLiteral("DestInteriorStyle"), 4);
    store.sync();
    TintDocument doc;
    EXPECT_FALSE(doc.settings().sourceShowsSize);
    EXPECT_TRUE(doc.settings().destShowsBounds);
    EXPECT_FALSE(doc.settings().destShrinksIfNecessary);
    EXPECT_EQ(doc.settings().destInteriorStyle, 4);
    EXPECT_TRUE(doc.settings().sourceShrinksIfNecessary);
}

TEST(UserDefaultsRules, StringsReadLikeTheStore)
{
    EXPECT_TRUE(boolFromString(QStringLiteral("YES")));
    EXPECT_TRUE(boolFromString(QStringLiteral("  yes")));
    EXPECT_TRUE(boolFromString(QStringLiteral("true")));
    EXPECT_TRUE(boolFromString(QStringLiteral("7")));
    EXPECT_FALSE(boolFromString(QStringLiteral("NO")));
    EXPECT_FALSE(boolFromString(QStringLiteral("0")));
    EXPECT_FALSE(boolFromString(QString()));
}

TEST_F(TintDocumentTest, ColourPresetsWriteTheirValuesAndKeepTheRest)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = 12; });
    doc.changeSetting([](TintSettings& s) { s.userAlpha = 80; });
    doc.changeSetting([](TintSettings& s) { s.aquaMargin = 30; });
    doc.changeSetting([](TintSettings& s) { s.finalSize = 75; });
    const StageCounts before = doc.pipeline().stageCounts();
    doc.useBluePresets();
    EXPECT_EQ(doc.settings().userSaturation, 127.53623f);
    EXPECT_EQ(doc.settings().userBrightness, 106.28020f);
    EXPECT_EQ(doc.settings().userContrast, 102.41545f);
    EXPECT_EQ(doc.settings().userHue, 59);
    EXPECT_FALSE(doc.settings().useRainbow);
    EXPECT_FALSE(doc.settings().useOriginalHue);
    EXPECT_EQ(doc.settings().sourceBugX, 12);
    EXPECT_EQ(doc.settings().userAlpha, 80);
    EXPECT_EQ(doc.settings().aquaMargin, 30);
    EXPECT_EQ(doc.settings().finalSize, 75);
    EXPECT_TRUE(doc.isDocumentEdited());
    // The refresh re-renders every stage.
    EXPECT_EQ(doc.pipeline().stageCounts().sourceBitmap, before.sourceBitmap + 1);
    EXPECT_TRUE(doc.pipeline().finalMixImageValid());

    doc.usePreset(TintPreset::GraphiteHighlighted);
    EXPECT_EQ(doc.settings().userSaturation, 23.18841f);
    EXPECT_EQ(doc.settings().userBrightness, 74.39613f);
    EXPECT_EQ(doc.settings().userContrast, 119.80676f);
}

TEST_F(TintDocumentTest, InactivePresetAndDefaults)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.shadowDensity = 20; });
    doc.changeSetting([](TintSettings& s) { s.sourceBugY = -8; });
    doc.useInactivePresets();
    EXPECT_FALSE(doc.settings().useRainbow);
    EXPECT_EQ(doc.settings().userSaturation, 0);
    EXPECT_EQ(doc.settings().userBrightness, 93.71980f);
    EXPECT_EQ(doc.settings().userContrast, 115.94202f);
    EXPECT_EQ(doc.settings().shadowDensity, 20);
    doc.useDefaultSettings();
    EXPECT_EQ(doc.settings().sourceBugY, 0);
    EXPECT_EQ(doc.settings().shadowDensity, 50);
    EXPECT_TRUE(doc.settings().useRainbow);
}

TEST_F(TintDocumentTest, MascotAndFootResetTheSettings)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.userHue = 10; });
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = 40; });
    ASSERT_TRUE(doc.takeFootStencil());
    EXPECT_EQ(doc.settings().userHue, 59);
    EXPECT_EQ(doc.settings().sourceBugX, 0);
    EXPECT_FALSE(doc.settings().useRainbow);
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_EQ(doc.sourceImage()->pixelsWide(), footPicture()->pixels.pixelsWide());
    EXPECT_TRUE(doc.pipeline().finalMixImageValid());
    ASSERT_TRUE(doc.takeMossStencil());
    EXPECT_TRUE(doc.settings().useRainbow);
    EXPECT_EQ(doc.sourceImage()->pixelsWide(), 256);
}

TEST_F(TintDocumentTest, RefusedPictureChangesNothing)
{
    TintDocument doc;
    SourcePicture twoPages = pictureOf(makeBuffer(4, 4));
    twoPages.representationCount = 2;
    QSignalSpy changed(&doc, &TintDocument::sourceImageChanged);
    EXPECT_FALSE(doc.useImage(std::move(twoPages), QStringLiteral("/tmp/x.tiff"), true, false));
    EXPECT_EQ(doc.sourceImage()->pixelsWide(), 256);
    EXPECT_FALSE(doc.isDocumentEdited());
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = 5; });
    SourcePicture again = pictureOf(makeBuffer(4, 4));
    again.representationCount = 2;
    EXPECT_FALSE(doc.useImage(std::move(again), QStringLiteral("/tmp/x.tiff"), true, false));
    EXPECT_EQ(doc.settings().sourceBugX, 5); // the bug is reset only for an accepted picture
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(TintDocumentTest, AcceptedPictureBecomesTheSourceAndRenders)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = 5; });
    auto rgb = BitmapRep::makeLayout(3, 2, 3, 8, false, false);
    std::fill(rgb->bitmapData(), rgb->bitmapData() + rgb->byteCount(), 0); // black: opaque mask
    SourcePicture picture;
    picture.samplesPerPixel = 3;
    picture.bitsPerPixel = 24;
    picture.hasAlpha = false;
    picture.pixels = std::move(*rgb);
    ASSERT_TRUE(doc.useImage(std::move(picture), QStringLiteral("/tmp/mask.png"), true, false));
    EXPECT_TRUE(doc.sourceImageIsSimple());
    EXPECT_EQ(doc.sourceImagePath(), QStringLiteral("/tmp/mask.png"));
    EXPECT_EQ(pixel(*doc.sourceImage(), 2, 1), 0x000000FFu);
    EXPECT_EQ(doc.settings().sourceBugX, 0);
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_TRUE(doc.pipeline().finalMixImageValid());
}

TEST_F(TintDocumentTest, InvertTwiceRestoresTheStencil)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = 9; });
    const BitmapRep start = std::move(*doc.sourceImage()->clone());
    const bool simple = doc.sourceImageIsSimple();
    ASSERT_TRUE(doc.invertSource());
    EXPECT_FALSE(doc.sourceImage()->samePixels(start));
    ASSERT_TRUE(doc.invertSource());
    EXPECT_TRUE(doc.sourceImage()->samePixels(start));
    EXPECT_EQ(doc.sourceImageIsSimple(), simple);
    EXPECT_EQ(doc.settings().sourceBugX, 9);
    EXPECT_TRUE(doc.sourceImagePath().isEmpty());
}

TEST_F(TintDocumentTest, AdjustSizeGrowsCropsAndRefuses)
{
    TintDocument doc;
    ASSERT_TRUE(doc.useImage(pictureOf(makeBuffer(10, 10, [](int x, int y) {
                                 return std::uint32_t(x * 16 + y) | 0xFF000000u | 0xFFu;
                             })),
                             QString(), true, true));
    QString refusal;
    ASSERT_TRUE(doc.applySizeAdjustment({2, 0, -3, 1}, &refusal));
    const BitmapRep& s = *doc.sourceImage();
    EXPECT_EQ(s.pixelsWide(), 8);
    EXPECT_EQ(s.pixelsHigh(), 12);
    EXPECT_EQ(pixel(s, 0, 0), 0u);
    EXPECT_EQ(pixel(s, 0, 2), std::uint32_t(3 * 16 + 0) | 0xFF000000u | 0xFFu);
    EXPECT_EQ(pixel(s, 7, 5), 0u);
    EXPECT_FALSE(doc.applySizeAdjustment({0, 0, -8, 0}, &refusal));
    EXPECT_EQ(refusal, QStringLiteral("The margins entered would completely obliterate the existing "
                                      "stencil, so the size adjustment will not be performed."));
    EXPECT_EQ(doc.sourceImage()->pixelsWide(), 8);
}

TEST_F(TintDocumentTest, RenderingSwitchSignalsTheResultsValidity)
{
    TintDocument doc;
    doc.refreshUIFromModel();
    QSignalSpy validity(&doc, &TintDocument::finalImageValidChanged);
    doc.toggleTinting();
    doc.gelcoatChanged(true);
    ASSERT_EQ(validity.count(), 2);
    EXPECT_FALSE(validity.at(0).at(0).toBool());
    EXPECT_TRUE(validity.at(1).at(0).toBool());
}

TEST_F(TintDocumentTest, SettingChangesAreMarkedAndRenderOnlyWhatTheyTouch)
{
    TintDocument doc;
    doc.refreshUIFromModel();
    auto stagesOf = [&](auto edit) {
        const StageCounts before = doc.pipeline().stageCounts();
        const bool changed = doc.changeSetting(edit);
        const StageCounts after = doc.pipeline().stageCounts();
        return std::make_pair(changed, StageCounts{0, 0, after.tinted - before.tinted,
                                                   after.shadow - before.shadow,
                                                   after.composite - before.composite,
                                                   after.finalMix - before.finalMix});
    };
    // The stored value again: nothing at all.
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.userHue = 59; }), std::make_pair(false, StageCounts{}));
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.userHue = 50; }),
              std::make_pair(true, StageCounts{0, 0, 1, 0, 1, 1}));
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.shadowDensity = 0; }),
              std::make_pair(true, StageCounts{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.shadowSharpness = 40; }),
              std::make_pair(true, StageCounts{}));
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.shadowDensity = 30; }),
              std::make_pair(true, StageCounts{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.finalSize = 80; }),
              std::make_pair(true, StageCounts{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(doc.settings().shadowSharpness, 40);
    // Display options go their own way.
    EXPECT_EQ(stagesOf([](TintSettings& s) { s.destInteriorStyle = 0; }),
              std::make_pair(false, StageCounts{}));
    EXPECT_EQ(doc.settings().destInteriorStyle, 3);
}

TEST_F(TintDocumentTest, DisplayOptionsAreRememberedWithoutAnEditMark)
{
    TintDocument doc;
    QSignalSpy shown(&doc, &TintDocument::displayOptionsChanged);
    TintSettings next = doc.settings();
    next.destInteriorStyle = 4;
    next.sourceShowsBounds = true;
    next.userHue = 10; // not a display option: ignored here
    doc.changeDisplayOptions(next);
    EXPECT_EQ(doc.settings().destInteriorStyle, 4);
    EXPECT_TRUE(doc.settings().sourceShowsBounds);
    EXPECT_EQ(doc.settings().userHue, 59);
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_EQ(shown.count(), 1);
    doc.changeDisplayOptions(next);
    EXPECT_EQ(shown.count(), 1);
    TintDocument later;
    EXPECT_EQ(later.settings().destInteriorStyle, 4);
    EXPECT_TRUE(later.settings().sourceShowsBounds);
}

TEST_F(TintDocumentTest, AnAcceptedPictureIsAnnouncedWithItsBugReset)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = 7; });
    int bugSeen = -1;
    QObject::connect(&doc, &TintDocument::sourceImageChanged,
                     [&] { bugSeen = doc.settings().sourceBugX; });
    ASSERT_TRUE(doc.useImage(pictureOf(makeBuffer(8, 8)), QString(), true, false));
    EXPECT_EQ(bugSeen, 0);
}
