#pragma once
// "ذخيره در فايل Word": a letter as an OpenDocument text (.odt) that word processors
// open right to left: every paragraph style, and the default one, carries the
// right-to-left writing mode, which Qt's own writer leaves out. Bold, italic,
// underline, font, size, alignment and bullets are kept.
#include <QString>

namespace orvak::letters {

// Written whole or not at all (beside the target first).
bool writeOdt(const QString& html, const QString& path, QString* error = nullptr);
// The content.xml of that document (for tests that read it as a word processor would).
QByteArray odtContent(const QString& html);

} // namespace orvak::letters
