#pragma once
// The start every picture-writing tool shares: it needs no display unless
// QT_QPA_PLATFORM asks for one, and takes one argument, the folder it writes
// into, made when missing.
//
//     int main(int argc, char** argv)
//     {
//         return runPictureTool<QGuiApplication>(argc, argv, "tool-name",
//                                                [](const QDir& folder) { ...; return 0; });
//     }

#include <QDir>
#include <QImage>
#include <QString>
#include <QTextStream>
#include <QtGlobal>

#include <functional>
#include <optional>

// Call before the application object exists.
inline void preferOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The folder named by the only argument, made when missing; nothing, with a
// message on the error output, for any other arguments or a folder that
// cannot be made.
inline std::optional<QDir> outputFolder(int argc, char** argv, const char* tool)
{
    QTextStream err(stderr);
    if (argc != 2 || argv[1][0] == '-') {
        err << "usage: " << tool << " DIR\n";
        return std::nullopt;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << tool << ": cannot create the folder " << argv[1] << "\n";
        return std::nullopt;
    }
    return folder;
}

// Makes the application object (QGuiApplication, or QApplication for
// widgets) and runs work with the output folder; its result is the exit
// status, 1 when the arguments are wrong.
template <typename Application, typename Work>
int runPictureTool(int argc, char** argv, const char* tool, Work work)
{
    preferOffscreenPlatform();
    Application application(argc, argv);
    const std::optional<QDir> folder = outputFolder(argc, argv, tool);
    return folder ? work(*folder) : 1;
}

// Writes a PNG file; false, with a message on the error output, when it
// cannot.
inline bool savePicture(const QImage& image, const QString& path, const char* tool)
{
    if (!image.isNull() && image.save(path, "PNG"))
        return true;
    QTextStream(stderr) << tool << ": cannot write " << path << "\n";
    return false;
}

// Writes "<name>.png" and "<name>@2x.png", drawn at scale 1 and 2, as the
// views load them.
inline bool saveAtBothScales(const QDir& folder, const QString& name,
                             const std::function<QImage(int scale)>& draw, const char* tool)
{
    return savePicture(draw(1), folder.filePath(name + QStringLiteral(".png")), tool)
        && savePicture(draw(2), folder.filePath(name + QStringLiteral("@2x.png")), tool);
}
