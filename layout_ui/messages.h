#pragma once

// The report's messages in the window's language: translated by Qt from the translation file
// (the context "report"), their arguments put in as the page puts them in.

#include "report/drawing.h"
#include "report/message.h"

#include <QString>

namespace layout_ui {

/// A source text of the report, in the window's language.
QString translated(const char *source);

/// A message in the window's language, as plain text.
QString rendered(const report::Message &message);
QString rendered(const report::Line &line);

/// The same as rich text: the formulas' values in grey, the rest escaped.
QString renderedRich(const report::Message &message);

/// The drawings' words in the window's language: English, in ASCII for CAD, when the English
/// translation is loaded, else the Chinese of the source texts.
report::Wording drawingWording();

/// A label's text as a screen reader reads it: without its key ("总管数(&L)" reads "总管数").
QString withoutKey(const QString &label);

} // namespace layout_ui
