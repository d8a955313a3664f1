#include "app/render/RenderOptions.h"

#include "document/settings/SettingsKeys.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace gelcoat {

namespace {

struct StageName {
    const char* name;
    RenderStage stage;
};

constexpr StageName stageNames[] = {
    {"source", RenderStage::Source},       {"source-hsv", RenderStage::SourceHsv},
    {"analysis", RenderStage::Analysis},   {"shadow", RenderStage::Shadow},
    {"tinted", RenderStage::Tinted},       {"composite", RenderStage::Composite},
    {"final", RenderStage::Final},
};

// Locale-independent: a decimal point is a point whatever LC_NUMERIC says.
// Only finite values: NaN and infinities, written or reached by overflow,
// have no meaning as a setting.
bool parseFloat(const QString& text, float* out)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.startsWith('+'))
        bytes.remove(0, 1);
    if (bytes.isEmpty())
        return false;
    const char* end = bytes.constData() + bytes.size();
    float v = 0;
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, v);
    if (ptr != end)
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as 0, as strtof does; overflow is refused.
        if (!bytes.contains("e-") && !bytes.contains("E-"))
            return false;
        v = 0.0f;
    } else if (ec != std::errc() || !std::isfinite(v)) {
        return false;
    }
    *out = v;
    return true;
}

bool parseInt(const QString& text, std::int32_t* out)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty() || std::isspace(static_cast<unsigned char>(bytes[0])))
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(bytes.constData(), &end, 10);
    if (end != bytes.constData() + bytes.size() || errno == ERANGE ||
        v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return false;
    *out = std::int32_t(v);
    return true;
}

} // namespace

QString renderUsage()
{
    return QStringLiteral(
        "Usage: gelcoat-render [INPUT...] [-o OUTPUT] [--preset NAME] [--set KEY=VALUE]...\n"
        "                      [--invert] [--margins TOP,BOTTOM,LEFT,RIGHT] [--fit-shadow]\n"
        "                      [--stage NAME] [--flatten white|black|none]\n"
        "                      [--save-document FILE] [--info] [--format tiff|png]\n"
        "                      [-j N] [--quiet] [--vector-side N]\n"
        "                      [--sizes N,N,... [--hicolor]] [--] [INPUT...]\n"
        "Renders INPUT (an image file or a .gelcoat document; the built-in start picture\n"
        "when omitted) as a gel image and writes OUTPUT (.tif, .tiff or .png; default\n"
        "gelcoat.tiff). A document brings its stencil and settings; --preset and --set\n"
        "then change them. Options end at \"--\", so that an INPUT may begin with \"-\".\n"
        "  --preset NAME   default, blue, blue-highlighted, graphite,\n"
        "                  graphite-highlighted or inactive (applied before every --set)\n"
        "  --set KEY=VALUE a document setting, e.g. ColorHue=59, UseRainbow=NO,\n"
        "                  FinalSize=100, SourceBugX=10\n"
        "  --invert        invert the stencil's coverage (a dark drawing saved as grey)\n"
        "  --margins TOP,BOTTOM,LEFT,RIGHT\n"
        "                  add transparent margins to the stencil (negative values crop)\n"
        "  --fit-shadow    grow the stencil just enough for the shadow not to be clipped\n"
        "                  (these three act on the stencil in the order given)\n"
        "  --vector-side N draw an SVG stencil with its longer side N pixels (1024;\n"
        "                  at most 16384)\n"
        "  --stage NAME    write one pipeline buffer as an uncompressed TIFF: source,\n"
        "                  source-hsv, analysis, shadow, tinted, composite, final\n"
        "  --flatten WHAT  put the result on white or black, or keep it transparent\n"
        "                  (none, the default)\n"
        "  --save-document FILE\n"
        "                  also write the stencil and the final settings as a document\n"
        "                  (then no image is written unless -o is given)\n"
        "  --info          print the sizes and the shadow warning as JSON\n"
        "Several inputs (or an OUTPUT that ends in / or names a folder) make a batch:\n"
        "each INPUT becomes FOLDER/NAME.tiff, several at once on all cores.\n"
        "  --format tiff|png  the kind of file a batch writes (tiff by default); with one\n"
        "                  input and no -o, gelcoat.png or gelcoat.tiff\n"
        "  -j N            render at most N files at once (default: one per core)\n"
        "  -q, --quiet     no progress count on a terminal\n"
        "A refused input is reported and the others go on; the exit status is the\n"
        "worst one; --info prints one JSON line per input, with its path.\n"
        "Icon sets: --sizes 16,24,32,48,64,128,256,512 renders each INPUT once and fits\n"
        "the result into squares of those sizes (1 to 1024), centred on transparency:\n"
        "  -o FOLDER       FOLDER/NAME-N.png for each size N\n"
        "  --hicolor       FOLDER/NxN/apps/NAME.png, a hicolor icon theme's layout\n"
        "  -o OUT.ico      one Windows icon of the sizes up to 256\n"
        "  -o OUT.icns     one macOS icon (sizes 16, 32, 64, 128, 256, 512, 1024)\n"
        "  --format ico|icns  with a FOLDER: FOLDER/NAME.ico or NAME.icns per INPUT\n");
}

std::optional<RenderOptions> parseRenderOptions(const QByteArrayList& args, QString* error)
{
    RenderOptions o;
    auto fail = [&](const QString& message) {
        *error = message;
        return std::optional<RenderOptions>();
    };
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QByteArray& argument = args[i];
        if (optionsEnded || argument == "-" || !argument.startsWith('-')) {
            if (argument.isEmpty())
                return fail(QStringLiteral("an input file name is empty"));
            o.inputs.append(argument);
            continue;
        }
        const QString a = QString::fromUtf8(argument);
        auto nextName = [&](QByteArray* name) {
            if (i + 1 >= args.size())
                return false;
            *name = args[++i];
            return true;
        };
        auto next = [&](QString* value) {
            QByteArray bytes;
            if (!nextName(&bytes))
                return false;
            *value = QString::fromUtf8(bytes);
            return true;
        };
        QString value;
        if (a == u"--") {
            optionsEnded = true;
        } else if (a == u"-h" || a == u"--help") {
            o.help = true;
        } else if (a == u"-o" || a == u"--output") {
            if (!nextName(&o.output) || o.output.isEmpty())
                return fail(QStringLiteral("%1 needs a file name").arg(a));
        } else if (a == u"--preset") {
            if (!next(&value))
                return fail(QStringLiteral("--preset needs a name"));
            TintPreset preset;
            if (!presetForName(value.toUtf8().constData(), &preset))
                return fail(QStringLiteral("unknown preset \"%1\"").arg(value));
            o.preset = preset;
        } else if (a == u"--set") {
            if (!next(&value))
                return fail(QStringLiteral("--set needs KEY=VALUE"));
            const qsizetype eq = value.indexOf(u'=');
            if (eq <= 0)
                return fail(QStringLiteral("--set needs KEY=VALUE, not \"%1\"").arg(value));
            o.settings.emplace_back(value.left(eq), value.mid(eq + 1));
        } else if (a == u"--stage") {
            if (!next(&value))
                return fail(QStringLiteral("--stage needs a name"));
            bool found = false;
            for (const StageName& s : stageNames)
                if (value == QLatin1String(s.name)) {
                    o.stage = s.stage;
                    found = true;
                }
            if (!found)
                return fail(QStringLiteral("unknown stage \"%1\"").arg(value));
            o.stageGiven = true;
        } else if (a == u"--flatten") {
            if (!next(&value))
                return fail(QStringLiteral("--flatten needs white, black or none"));
            const int tag = value == u"white" ? 0 : value == u"black" ? 1 : value == u"none" ? 2 : -1;
            o.flatten = flattenChoiceForTag(tag);
            if (!o.flatten)
                return fail(QStringLiteral("--flatten takes white, black or none, not \"%1\"")
                                .arg(value));
        } else if (a == u"--save-document") {
            if (!nextName(&o.saveDocument) || o.saveDocument.isEmpty())
                return fail(QStringLiteral("--save-document needs a file name"));
        } else if (a == u"--invert") {
            o.stencilCommands.push_back({StencilCommand::Kind::Invert, {}});
        } else if (a == u"--fit-shadow") {
            o.stencilCommands.push_back({StencilCommand::Kind::FitShadow, {}});
        } else if (a == u"--margins") {
            const QStringList parts = next(&value) ? value.split(u',') : QStringList();
            std::int32_t m[4] = {};
            bool valid = parts.size() == 4;
            for (int k = 0; valid && k < 4; ++k)
                valid = parseInt(parts[k], &m[k]);
            if (!valid)
                return fail(QStringLiteral("--margins takes four whole numbers TOP,BOTTOM,LEFT,RIGHT"));
            o.stencilCommands.push_back({StencilCommand::Kind::Margins, {m[0], m[1], m[2], m[3]}});
        } else if (a == u"--format") {
            if (!next(&value) ||
                (value != u"png" && value != u"tiff" && value != u"ico" && value != u"icns"))
                return fail(QStringLiteral("--format takes tiff, png, ico or icns"));
            o.pngFormat = value == u"png";
            if (value == u"ico" || value == u"icns")
                o.iconFormat = value == u"ico" ? IconSetForm::Ico : IconSetForm::Icns;
            o.formatGiven = true;
        } else if (a == u"--sizes") {
            if (!next(&value))
                return fail(QStringLiteral("--sizes needs a list such as 16,32,64"));
            const std::optional<std::vector<int>> sizes = parseIconSizes(value, error);
            if (!sizes)
                return std::optional<RenderOptions>();
            o.iconSizes = *sizes;
        } else if (a == u"--hicolor") {
            o.hicolor = true;
        } else if (a == u"-j" || a == u"--jobs") {
            std::int32_t jobs = 0;
            if (!next(&value) || !parseInt(value, &jobs) || jobs < 1 || jobs > 256)
                return fail(QStringLiteral("%1 takes a number of files from 1 to 256").arg(a));
            o.jobs = jobs;
        } else if (a == u"--vector-side") {
            std::int32_t side = 0;
            if (!next(&value) || !parseInt(value, &side) || side < 1 || side > kMaxVectorSide)
                return fail(QStringLiteral("--vector-side takes a number of pixels from 1 to %1")
                                .arg(kMaxVectorSide));
            o.vectorSide = side;
        } else if (a == u"-q" || a == u"--quiet") {
            o.quiet = true;
        } else if (a == u"--info") {
            o.info = true;
        } else {
            return fail(QStringLiteral("unknown option \"%1\"").arg(a));
        }
    }
    return o;
}

bool applySetting(TintSettings& settings, const QString& key, const QString& value,
                  QString* error)
{
    const SettingField* field = settingFieldForKey(key.toUtf8().constData());
    if (!field) {
        *error = QStringLiteral("unknown setting \"%1\"").arg(key);
        return false;
    }
    switch (field->kind) {
    case SettingKind::Bool:
        if (value.compare(u"YES", Qt::CaseInsensitive) == 0)
            settings.*field->boolField = true;
        else if (value.compare(u"NO", Qt::CaseInsensitive) == 0)
            settings.*field->boolField = false;
        else {
            *error = QStringLiteral("%1 takes YES or NO, not \"%2\"").arg(key, value);
            return false;
        }
        return true;
    case SettingKind::Int:
        if (!parseInt(value, &(settings.*field->intField))) {
            *error = QStringLiteral("%1 takes a whole number, not \"%2\"").arg(key, value);
            return false;
        }
        return true;
    case SettingKind::Float:
        if (!parseFloat(value, &(settings.*field->floatField))) {
            *error = QStringLiteral("%1 takes a finite number, not \"%2\"").arg(key, value);
            return false;
        }
        return true;
    }
    return false;
}

} // namespace gelcoat
