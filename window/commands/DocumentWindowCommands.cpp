#include "window/commands/DocumentWindowCommands.h"

#include "window/TintDocumentWindow.h"
#include "window/UndoCommands.h"
#include "window/documents/DocumentFileCommands.h"
#include "window/export/ExportCommands.h"
#include "window/intake/StencilCommands.h"

#include "document/model/TintDocument.h"

#include <QUndoStack>

namespace gelcoat {

// A document window's parts, found from the window; another window has none.
template <>
struct CommandTarget<TintDocument> {
    static constexpr bool ofTheProgram = false;
    static TintDocument* in(QMainWindow& window)
    {
        auto* documentWindow = qobject_cast<TintDocumentWindow*>(&window);
        return documentWindow ? &documentWindow->document() : nullptr;
    }
    static void watch(TintDocument& document, QObject& receiver, std::function<void()> changed)
    {
        QObject::connect(&document, &TintDocument::displayOptionsChanged, &receiver, changed);
        QObject::connect(&document, &TintDocument::gelcoatOnChanged, &receiver, changed);
        QObject::connect(&document, &TintDocument::controlsNeedRefresh, &receiver, changed);
        // Undo's and Redo's titles and enabling; the stack signals its
        // index with every push, undo, redo, merge and clearing.
        QObject::connect(&document.undoStack(), &QUndoStack::indexChanged, &receiver, changed);
    }
};

// The stack they read is the document's, watched with it.
template <>
struct CommandTarget<UndoCommands> {
    static constexpr bool ofTheProgram = false;
    static UndoCommands* in(QMainWindow& window)
    {
        auto* documentWindow = qobject_cast<TintDocumentWindow*>(&window);
        return documentWindow ? &documentWindow->undoCommands() : nullptr;
    }
};

template <>
struct CommandTarget<StencilCommands> {
    static constexpr bool ofTheProgram = false;
    static StencilCommands* in(QMainWindow& window)
    {
        auto* documentWindow = qobject_cast<TintDocumentWindow*>(&window);
        return documentWindow ? &documentWindow->stencilCommands() : nullptr;
    }
};

template <>
struct CommandTarget<ExportCommands> {
    static constexpr bool ofTheProgram = false;
    static ExportCommands* in(QMainWindow& window)
    {
        auto* documentWindow = qobject_cast<TintDocumentWindow*>(&window);
        return documentWindow ? &documentWindow->exportCommands() : nullptr;
    }
};

// Only the program's windows save: a window made alone (in a test) has no
// file commands.
template <>
struct CommandTarget<DocumentFileCommands> {
    static constexpr bool ofTheProgram = false;
    static DocumentFileCommands* in(QMainWindow& window)
    {
        return DocumentFileCommands::of(&window);
    }
    static void watch(DocumentFileCommands& commands, QObject& receiver,
                      std::function<void()> changed)
    {
        Document& document = commands.document();
        QObject::connect(&document, &Document::editedChanged, &receiver, changed);
        QObject::connect(&document, &Document::fileNameChanged, &receiver, changed);
    }
};

namespace {

// Inverts a display flag of the wells; the document echoes it to the
// user defaults and the well.
CommandCall displaySwitch(bool TintSettings::*flag)
{
    return on<TintDocument>(
        [flag](TintDocument& document) {
            TintSettings next = document.settings();
            next.*flag = !(next.*flag);
            document.changeDisplayOptions(next);
        },
        [flag](TintDocument& document) { return document.settings().*flag; });
}

CommandCall background(int style)
{
    return on<TintDocument>(
        [style](TintDocument& document) {
            TintSettings next = document.settings();
            next.destInteriorStyle = style;
            document.changeDisplayOptions(next);
        },
        [style](TintDocument& document) { return document.settings().destInteriorStyle == style; });
}

constexpr auto ctrl = Qt::CTRL;
constexpr auto shift = Qt::SHIFT;
constexpr auto alt = Qt::ALT;
using enum MenuId;

} // namespace

const std::vector<Command>& documentWindowCommands()
{
    static const std::vector<Command> commands{
        {.id = "toggleTinting",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Render Gel"),
         .keys = ctrl | Qt::Key_T,
         .places = {{View, 0, 0}, {DestActions, 2, 0}},
         .call = on<TintDocument>([](TintDocument& document) { document.toggleTinting(); },
                                  [](TintDocument& document) { return document.gelcoatOn(); })},

        {.id = "showSourceSize",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Show Source &Size"),
         .places = {{View, 1, 0}, {SourceActions, 0, 0}},
         .call = displaySwitch(&TintSettings::sourceShowsSize)},
        {.id = "showSourceBounds",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Show Source &Bounds"),
         .places = {{View, 1, 1}, {SourceActions, 0, 1}},
         .call = displaySwitch(&TintSettings::sourceShowsBounds)},
        {.id = "scaleSourceDisplayToFit",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Shrink Source to &Fit"),
         .places = {{View, 1, 2}, {SourceActions, 0, 2}},
         .call = displaySwitch(&TintSettings::sourceShrinksIfNecessary)},
        {.id = "showDestSize",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Show Result Si&ze"),
         .places = {{View, 2, 0}, {DestActions, 0, 0}},
         .call = displaySwitch(&TintSettings::destShowsSize)},
        {.id = "showDestBounds",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Show Result Bo&unds"),
         .places = {{View, 2, 1}, {DestActions, 0, 1}},
         .call = displaySwitch(&TintSettings::destShowsBounds)},
        {.id = "scaleDestDisplayToFit",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Shrink Result to F&it"),
         .places = {{View, 2, 2}, {DestActions, 0, 2}},
         .call = displaySwitch(&TintSettings::destShrinksIfNecessary)},

        // In the order of the interior style codes.
        {.id = "useLightBackgroundForDest",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Light Background"),
         .keys = ctrl | alt | Qt::Key_1,
         .places = {{DestBackground, 0, 0}, {DestActions, 1, 0}},
         .call = background(0),
         .choiceGroup = "destBackground"},
        {.id = "useDarkBackgroundForDest",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Dark Background"),
         .keys = ctrl | alt | Qt::Key_2,
         .places = {{DestBackground, 0, 1}, {DestActions, 1, 1}},
         .call = background(1),
         .choiceGroup = "destBackground"},
        {.id = "useBlackBackgroundForDest",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Blac&k Background"),
         .keys = ctrl | alt | Qt::Key_3,
         .places = {{DestBackground, 0, 2}, {DestActions, 1, 2}},
         .call = background(2),
         .choiceGroup = "destBackground"},
        {.id = "useWhiteBackgroundForDest",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&White Background"),
         .keys = ctrl | alt | Qt::Key_4,
         .places = {{DestBackground, 0, 3}, {DestActions, 1, 3}},
         .call = background(3),
         .choiceGroup = "destBackground"},
        {.id = "useCheckeredBackgroundForDest",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Checkered Background"),
         .keys = ctrl | alt | Qt::Key_5,
         .places = {{DestBackground, 0, 4}, {DestActions, 1, 4}},
         .call = background(4),
         .choiceGroup = "destBackground"},

        {.id = "useDefaultSettings",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Default Settings"),
         .places = {{Presets, 0, 0}},
         .call = on(&TintDocument::useDefaultSettings)},
        {.id = "useBluePresets",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Blue"),
         .places = {{Presets, 1, 0}},
         .call = on(&TintDocument::useBluePresets)},
        {.id = "useBlueHighlightedPresets",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Blue &Highlighted"),
         .places = {{Presets, 1, 1}},
         .call = on(&TintDocument::useBlueHighlightedPresets)},
        {.id = "useGraphitePresets",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Graphite"),
         .places = {{Presets, 1, 2}},
         .call = on(&TintDocument::useGraphitePresets)},
        {.id = "useGraphiteHighlightedPresets",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Graphite Highligh&ted"),
         .places = {{Presets, 1, 3}},
         .call = on(&TintDocument::useGraphiteHighlightedPresets)},
        {.id = "useInactivePresets",
         .context = "gelcoat::DocumentCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Inactive"),
         .places = {{Presets, 1, 4}},
         .call = on(&TintDocument::useInactivePresets)},

        {.id = "undo",
         .context = "gelcoat::UndoCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::UndoCommands", "&Undo"),
         .keys = ctrl | Qt::Key_Z,
         .places = {{Edit, 0, 0}},
         .call = on<UndoCommands>([](UndoCommands& commands) { commands.undo(); }, {},
                                  [](UndoCommands& commands) { return commands.canUndo(); },
                                  [](UndoCommands& commands) { return commands.undoTitle(); })},
        {.id = "redo",
         .context = "gelcoat::UndoCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::UndoCommands", "&Redo"),
         .keys = {ctrl | shift | Qt::Key_Z, QKeySequence::Redo, {ctrl | Qt::Key_Y}},
         .places = {{Edit, 0, 1}},
         .call = on<UndoCommands>([](UndoCommands& commands) { commands.redo(); }, {},
                                  [](UndoCommands& commands) { return commands.canRedo(); },
                                  [](UndoCommands& commands) { return commands.redoTitle(); })},

        {.id = "copy",
         .context = "gelcoat::ExportCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::ExportCommands", "&Copy"),
         .keys = QKeySequence::Copy,
         .places = {{Edit, 1, 0}, {DestActions, 3, 0}},
         .call = on(&ExportCommands::copy)},
        {.id = "saveDestImage",
         .context = "gelcoat::ExportCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::ExportCommands", "E&xport Result\u2026"),
         .keys = ctrl | Qt::Key_E,
         .places = {{File, 1, 0}, {DestActions, 3, 1}},
         .call = on(&ExportCommands::saveDestImage)},
        {.id = "exportIconSet",
         .context = "gelcoat::ExportCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::ExportCommands", "Export &Icon Set\u2026"),
         .places = {{File, 1, 1}, {DestActions, 3, 2}},
         .call = on(&ExportCommands::exportIconSet)},

        {.id = "paste",
         .context = "gelcoat::StencilCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::StencilCommands", "&Paste"),
         .keys = QKeySequence::Paste,
         .places = {{Edit, 1, 1}, {SourceActions, 1, 0}},
         .call = on(&StencilCommands::paste)},
        {.id = "invertSource",
         .context = "gelcoat::StencilCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::StencilCommands", "&Invert Stencil"),
         .keys = ctrl | Qt::Key_I,
         .places = {{Edit, 2, 0}, {SourceActions, 1, 1}},
         .call = on(&StencilCommands::invertSource)},
        {.id = "adjustSourceSize",
         .context = "gelcoat::StencilCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::StencilCommands", "&Adjust Stencil Size\u2026"),
         .keys = ctrl | shift | Qt::Key_A,
         .places = {{Edit, 2, 1}, {SourceActions, 1, 2}},
         .call = on(&StencilCommands::adjustSourceSize)},
        {.id = "chooseSourceImage",
         .context = "gelcoat::StencilCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::StencilCommands", "C&hoose Stencil\u2026"),
         .keys = ctrl | shift | Qt::Key_O,
         .places = {{Edit, 3, 0}, {SourceActions, 2, 0}},
         .call = on(&StencilCommands::chooseSourceImage)},
        {.id = "useMoss",
         .context = "gelcoat::StencilCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::StencilCommands", "Use &Moss\u2026"),
         .places = {{Edit, 3, 1}, {SourceActions, 2, 1}},
         .call = on(&StencilCommands::useMoss)},
        {.id = "useFoot",
         .context = "gelcoat::StencilCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::StencilCommands", "Use Moss's &Foot\u2026"),
         .places = {{Edit, 3, 2}, {SourceActions, 2, 2}},
         .call = on(&StencilCommands::useFoot)},

        // After Close.
        {.id = "saveDocument",
         .context = "gelcoat::DocumentFileCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentFileCommands", "&Save"),
         .keys = QKeySequence::Save,
         .places = {{File, 2, 1}},
         .call = on<DocumentFileCommands>(
             [](DocumentFileCommands& commands) { commands.saveDocument(); })},
        {.id = "saveDocumentAs",
         .context = "gelcoat::DocumentFileCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentFileCommands", "Save &As\u2026"),
         .keys = ctrl | shift | Qt::Key_S,
         .places = {{File, 2, 2}},
         .call = on<DocumentFileCommands>(
             [](DocumentFileCommands& commands) { commands.saveDocumentAs(); })},
        {.id = "revertDocumentToSaved",
         .context = "gelcoat::DocumentFileCommands",
         .title = QT_TRANSLATE_NOOP("gelcoat::DocumentFileCommands", "&Revert to Saved"),
         .places = {{File, 2, 3}},
         .call = on<DocumentFileCommands>(
             [](DocumentFileCommands& commands) { commands.revertDocumentToSaved(); }, {},
             [](DocumentFileCommands& commands) { return commands.canRevert(); })},
    };
    return commands;
}

const MenuDeclaration& sourceActionMenu()
{
    static const MenuDeclaration menu{.id = SourceActions, .objectName = "sourceActionMenu"};
    return menu;
}

const MenuDeclaration& destActionMenu()
{
    static const MenuDeclaration menu{.id = DestActions, .objectName = "destActionMenu"};
    return menu;
}

} // namespace gelcoat
