#pragma once
// gelcoat-render: renders a stencil with a document's pipeline, without
// any window. Exit codes: 0 done, 1 bad option or value, 2 input refused or
// unreadable, 3 render or write failed.

#include <QStringList>
#include <QTextStream>

namespace gelcoat {

enum RenderExit { ExitOk = 0, ExitUsage = 1, ExitInput = 2, ExitFailure = 3 };

int runRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace gelcoat
