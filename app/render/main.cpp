#include "app/render/RenderCommand.h"
#include "app/render/VectorArguments.h"
#include "app/startup/Utf8Locale.h"

#include "document/io/RegularFile.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <malloc.h>

int main(int argc, char** argv)
{
    // A batch frees and allocates the same buffer sizes file after file:
    // kept by malloc rather than returned to the system, they need no fresh
    // zeroed pages (whose faults cost more than the stages that fill them).
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    gelcoat::useUtf8CharacterTypes();
    // As bytes: QCoreApplication::arguments() would turn a file name that
    // is not UTF-8 into another name.
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));
    std::unique_ptr<QCoreApplication> app;
    if (gelcoat::argumentsNameVectorPicture(args)) {
        // Given the program's name alone, so that no input is taken for one
        // of Qt's own options; its start-up warnings (no runtime folder)
        // concern windows, which the renderer has none of.
        static int guiArgc = 1;
        static char* guiArgv[] = {argv[0], nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        app = std::make_unique<QGuiApplication>(guiArgc, guiArgv);
        qInstallMessageHandler(previous);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // A refused picture gets one message of ours with the decoder's reason;
    // the image plug-ins' own warnings would only repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    QCoreApplication::setOrganizationName(QStringLiteral("Gelcoat"));
    QCoreApplication::setApplicationName(QStringLiteral("Gelcoat"));
    gelcoat::removeFilesInProgressOnTermination();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = gelcoat::runRenderCommand(args, out, err);
    // Every output is written and named by now; freeing the buffers and
    // unloading Qt piece by piece would only delay the exit.
    out.flush();
    err.flush();
    std::fflush(nullptr);
    std::_Exit(code);
}
