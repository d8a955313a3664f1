#pragma once
// File names on Linux are bytes, not text: a name need not be UTF-8. This
// shows such a name in a message without losing which bytes it holds.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace gelcoat {

// The name's UTF-8 text, with every byte that is not part of valid UTF-8,
// and every control character, shown as \xHH (bad\xfd.png), so that two
// different names never print alike and the bytes can be typed back in a
// shell as $'bad\xfd.png'.
QString printablePath(QByteArrayView nativePath);

} // namespace gelcoat
