#include "window/DocumentCommands.h"

#include "window/NamedAction.h"

#include "document/model/TintDocument.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>

namespace gelcoat {

namespace {

struct PresetCommand {
    const char* name;
    const char* text;
    TintPreset preset;
};

const std::array<PresetCommand, 5> kPresetCommands{{
    {"useBluePresets", QT_TRANSLATE_NOOP("DocumentCommands", "&Blue"), TintPreset::Blue},
    {"useBlueHighlightedPresets", QT_TRANSLATE_NOOP("DocumentCommands", "Blue &Highlighted"),
     TintPreset::BlueHighlighted},
    {"useGraphitePresets", QT_TRANSLATE_NOOP("DocumentCommands", "&Graphite"),
     TintPreset::Graphite},
    {"useGraphiteHighlightedPresets",
     QT_TRANSLATE_NOOP("DocumentCommands", "Graphite Highligh&ted"),
     TintPreset::GraphiteHighlighted},
    {"useInactivePresets", QT_TRANSLATE_NOOP("DocumentCommands", "&Inactive"),
     TintPreset::Inactive},
}};

struct BackgroundCommand {
    const char* name;
    const char* text;
};

// In the order of the interior style codes.
const std::array<BackgroundCommand, 5> kBackgroundCommands{{
    {"useLightBackgroundForDest", QT_TRANSLATE_NOOP("DocumentCommands", "&Light Background")},
    {"useDarkBackgroundForDest", QT_TRANSLATE_NOOP("DocumentCommands", "&Dark Background")},
    {"useBlackBackgroundForDest", QT_TRANSLATE_NOOP("DocumentCommands", "Blac&k Background")},
    {"useWhiteBackgroundForDest", QT_TRANSLATE_NOOP("DocumentCommands", "&White Background")},
    {"useCheckeredBackgroundForDest",
     QT_TRANSLATE_NOOP("DocumentCommands", "&Checkered Background")},
}};

// The six switches of the wells' display, each inverting its flag.
struct DisplaySwitch {
    QAction* DocumentCommands::*action;
    const char* name;
    const char* text;
    bool TintSettings::*flag;
};

const std::array<DisplaySwitch, 6> kDisplaySwitches{{
    {&DocumentCommands::showSourceSize, "showSourceSize",
     QT_TRANSLATE_NOOP("DocumentCommands", "Show Source &Size"), &TintSettings::sourceShowsSize},
    {&DocumentCommands::showSourceBounds, "showSourceBounds",
     QT_TRANSLATE_NOOP("DocumentCommands", "Show Source &Bounds"),
     &TintSettings::sourceShowsBounds},
    {&DocumentCommands::scaleSourceDisplayToFit, "scaleSourceDisplayToFit",
     QT_TRANSLATE_NOOP("DocumentCommands", "Shrink Source to &Fit"),
     &TintSettings::sourceShrinksIfNecessary},
    {&DocumentCommands::showDestSize, "showDestSize",
     QT_TRANSLATE_NOOP("DocumentCommands", "Show Result Si&ze"), &TintSettings::destShowsSize},
    {&DocumentCommands::showDestBounds, "showDestBounds",
     QT_TRANSLATE_NOOP("DocumentCommands", "Show Result Bo&unds"),
     &TintSettings::destShowsBounds},
    {&DocumentCommands::scaleDestDisplayToFit, "scaleDestDisplayToFit",
     QT_TRANSLATE_NOOP("DocumentCommands", "Shrink Result to F&it"),
     &TintSettings::destShrinksIfNecessary},
}};

} // namespace

DocumentCommands::DocumentCommands(TintDocument& document, QObject* parent)
    : QObject(parent), document_(document)
{
    toggleTinting = makeAction(tr("&Render Gel"), "toggleTinting", true);
    toggleTinting->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(toggleTinting, &QAction::triggered, this, [this] {
        document_.toggleTinting();
        updateChecks();
    });

    for (const DisplaySwitch& display : kDisplaySwitches)
        this->*display.action = makeDisplaySwitch(tr(display.text), display.name, display.flag);

    destBackgroundGroup = new QActionGroup(this);
    // Exclusive, yet a style outside 0–4 (from a file) may check none.
    destBackgroundGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int style = 0; style < int(destBackgrounds.size()); ++style) {
        const BackgroundCommand& command = kBackgroundCommands[size_t(style)];
        QAction* action = makeAction(tr(command.text), command.name, true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_1 + style)));
        destBackgroundGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, style] {
            TintSettings next = document_.settings();
            next.destInteriorStyle = style;
            document_.changeDisplayOptions(next);
            // An exclusive group checks what was chosen; the document decides.
            updateChecks();
        });
        destBackgrounds[size_t(style)] = action;
    }

    useDefaultSettings = makeAction(tr("&Default Settings"), "useDefaultSettings", false);
    connect(useDefaultSettings, &QAction::triggered, this,
            [this] { document_.useDefaultSettings(); });
    for (size_t i = 0; i < presets.size(); ++i) {
        const PresetCommand& command = kPresetCommands[i];
        QAction* action = makeAction(tr(command.text), command.name, false);
        const TintPreset preset = command.preset;
        connect(action, &QAction::triggered, this, [this, preset] { document_.usePreset(preset); });
        presets[i] = action;
    }
    connect(&document_, &TintDocument::displayOptionsChanged, this,
            &DocumentCommands::updateChecks);
    connect(&document_, &TintDocument::gelcoatOnChanged, this, &DocumentCommands::updateChecks);
    connect(&document_, &TintDocument::controlsNeedRefresh, this,
            &DocumentCommands::updateChecks);
    updateChecks();
}

QAction* DocumentCommands::makeAction(const QString& text, const char* name, bool checkable)
{
    QAction* action = namedAction(this, text, name);
    action->setCheckable(checkable);
    return action;
}

QAction* DocumentCommands::makeDisplaySwitch(const QString& text, const char* name,
                                             bool TintSettings::*flag)
{
    QAction* action = makeAction(text, name, true);
    connect(action, &QAction::triggered, this, [this, flag] {
        TintSettings next = document_.settings();
        next.*flag = !(next.*flag);
        document_.changeDisplayOptions(next);
        updateChecks();
    });
    return action;
}

QList<QAction*> DocumentCommands::all() const
{
    QList<QAction*> list{toggleTinting,  showSourceSize, showSourceBounds,
                         scaleSourceDisplayToFit, showDestSize, showDestBounds,
                         scaleDestDisplayToFit};
    list.append(QList<QAction*>(destBackgrounds.begin(), destBackgrounds.end()));
    list.append(useDefaultSettings);
    list.append(QList<QAction*>(presets.begin(), presets.end()));
    return list;
}

void DocumentCommands::addBackgroundsTo(QMenu* menu) const
{
    for (QAction* action : destBackgrounds)
        menu->addAction(action);
}

QMenu* DocumentCommands::makeViewMenu(QWidget* parent) const
{
    auto* menu = new QMenu(tr("&View"), parent);
    menu->setObjectName(QStringLiteral("viewMenu"));
    menu->addAction(toggleTinting);
    menu->addSeparator();
    menu->addActions({showSourceSize, showSourceBounds, scaleSourceDisplayToFit});
    menu->addSeparator();
    menu->addActions({showDestSize, showDestBounds, scaleDestDisplayToFit});
    QMenu* backgrounds = menu->addMenu(tr("Result Bac&kground"));
    backgrounds->setObjectName(QStringLiteral("destBackgroundMenu"));
    addBackgroundsTo(backgrounds);
    return menu;
}

QMenu* DocumentCommands::makePresetsMenu(QWidget* parent) const
{
    auto* menu = new QMenu(tr("&Presets"), parent);
    menu->setObjectName(QStringLiteral("presetsMenu"));
    menu->addAction(useDefaultSettings);
    menu->addSeparator();
    for (QAction* action : presets)
        menu->addAction(action);
    return menu;
}

QMenu* DocumentCommands::makeSourceActionMenu(QWidget* parent) const
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("sourceActionMenu"));
    menu->addActions({showSourceSize, showSourceBounds, scaleSourceDisplayToFit});
    return menu;
}

QMenu* DocumentCommands::makeDestActionMenu(QWidget* parent) const
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("destActionMenu"));
    menu->addActions({showDestSize, showDestBounds, scaleDestDisplayToFit});
    menu->addSeparator();
    addBackgroundsTo(menu);
    menu->addSeparator();
    menu->addAction(toggleTinting);
    return menu;
}

void DocumentCommands::updateChecks()
{
    const TintSettings& s = document_.settings();
    toggleTinting->setChecked(document_.gelcoatOn());
    for (const DisplaySwitch& display : kDisplaySwitches)
        (this->*display.action)->setChecked(s.*display.flag);
    for (int style = 0; style < int(destBackgrounds.size()); ++style)
        destBackgrounds[size_t(style)]->setChecked(s.destInteriorStyle == style);
}

} // namespace gelcoat
