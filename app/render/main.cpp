#include "RenderCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Gelcoat"));
    QCoreApplication::setApplicationName(QStringLiteral("Gelcoat"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return gelcoat::runRenderCommand(args, out, err);
}
