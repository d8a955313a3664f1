#pragma once
// gelcoat-render: renders a stencil with a document's pipeline, without
// any window. Exit codes: 0 done, 1 bad option or value, 2 input refused or
// unreadable, 3 render or write failed.

#include <QByteArrayList>
#include <QTextStream>

namespace gelcoat {

enum RenderExit { ExitOk = 0, ExitUsage = 1, ExitInput = 2, ExitFailure = 3 };

// args: the command line after the program's name, as bytes.
int runRenderCommand(const QByteArrayList& args, QTextStream& out, QTextStream& err);

} // namespace gelcoat
