#pragma once

// The Greek wording of the toolkit's own texts: the text boxes' context menu (Undo, Copy,
// Select All, ...) and the message boxes' button. Qt draws these itself and has no Greek of its
// own, so the program carries a catalogue, embedded in the executable.

class QCoreApplication;
class QTranslator;

namespace orvanta {

// Loads the embedded catalogue into the translator; false if it could not be read.
bool loadToolkitTranslation(QTranslator& translator);

// Installs the catalogue for the whole application, whatever the system's language: the interface
// is Greek everywhere. Call before any window exists. Without it the toolkit's texts stay English.
bool installToolkitTranslation(QCoreApplication& application);

} // namespace orvanta
