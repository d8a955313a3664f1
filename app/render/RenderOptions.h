#pragma once
// The command line of gelcoat-render:
//   gelcoat-render [INPUT] [-o OUTPUT] [--preset NAME] [--set KEY=VALUE]...
//                  [--stage NAME] [--flatten white|black|none]
//                  [--invert] [--margins T,B,L,R] [--fit-shadow]
//                  [--save-document FILE] [--info] [--vector-side N] [--] [INPUT]
//   gelcoat-render INPUT... -o FOLDER/ [--format tiff|png] [-j N] [--quiet] …
//   gelcoat-render INPUT... --sizes 16,32,… [--hicolor] -o OUT(/|.ico|.icns) …
// File names stay the bytes they were given as (Linux names need not be
// UTF-8); everything else is read as UTF-8.

#include "document/export/ResultExport.h"
#include "document/icons/IconFiles.h"
#include "document/intake/StencilIntake.h"
#include "document/intake/VectorPicture.h"
#include "document/settings/TintSettings.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace gelcoat {

enum class RenderStage { Source, SourceHsv, Analysis, Shadow, Tinted, Composite, Final };

// The window's stencil commands, applied in the order given.
struct StencilCommand {
    enum class Kind { Invert, Margins, FitShadow };
    Kind kind = Kind::Invert;
    StencilMargins margins;   // Margins only
};

struct RenderOptions {
    // Pictures or documents; none: the built-in start picture. Several
    // make a batch, written into the folder -o names.
    QByteArrayList inputs;
    QByteArray output; // empty: gelcoat.tiff, unless only --info was asked for
    bool pngFormat = false;   // --format png: a batch writes .png files
    bool formatGiven = false;
    // --sizes: an icon set per input instead of one image. Its form comes
    // from the output (.ico, .icns, else a folder of PNG files), --hicolor
    // or, for a folder, --format ico|icns.
    std::vector<int> iconSizes;
    bool hicolor = false;
    std::optional<IconSetForm> iconFormat;   // --format ico or icns
    int jobs = 0;             // -j: files rendered at once; 0 for one per core
    bool quiet = false;       // no progress count
    int vectorSide = kDefaultVectorSide;   // --vector-side: an SVG stencil's longer side
    std::optional<TintPreset> preset;
    std::vector<std::pair<QString, QString>> settings; // --set, in order
    std::vector<StencilCommand> stencilCommands;
    RenderStage stage = RenderStage::Final;
    bool stageGiven = false;
    std::optional<FlattenChoice> flatten;   // the final image only
    QByteArray saveDocument;                // empty: none
    bool info = false;
    bool help = false;
};

// Parses the arguments after the program name; on failure returns nothing
// and describes the problem in error.
std::optional<RenderOptions> parseRenderOptions(const QByteArrayList& args, QString* error);

// Applies one --set: booleans take YES or NO in any case, numbers must
// parse completely, integers must fit. False with a message otherwise.
bool applySetting(TintSettings& settings, const QString& key, const QString& value,
                  QString* error);

QString renderUsage();

} // namespace gelcoat
