// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// The font of the boxes and lists that show text in fixed columns (the county entries, the
// call letters, the data dump): one in which every character they show takes the same width,
// so that the columns line up whatever fonts the desktop has. A font's fixed-pitch flag is
// not enough: some monospaced families do not carry it, and a desktop's "monospace" may
// resolve to a family whose glyphs differ in width.

#include <QFont>
#include <QString>

// The characters those boxes show: the printable ASCII characters, blank to tilde.
QString columnCharacters();

// Whether every character of `text` takes one and the same advance in `font`, each alone and
// all of them in a row, as measured with the font's metrics.
bool sharesOneAdvance(const QFont &font, const QString &text = columnCharacters());

// `preferred` when its characters share one advance; otherwise, at its size, the first of the
// desktop's families for which they do (those that declare a fixed pitch are tried first);
// `preferred` itself when no family passes.
QFont fixedColumnFont(const QFont &preferred);

// The same for the system's fixed font, worked out once per run.
QFont fixedColumnFont();
