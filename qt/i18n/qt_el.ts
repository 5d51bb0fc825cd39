<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!--
  Greek wording for the toolkit's own texts that the window can show: the context menu of its text
  boxes and the OK button of its message boxes. Qt ships no Greek catalogue of its own.

  The source texts are Qt's, not the program's, so this file is kept by hand and compiled with
  lrelease alone: lupdate would find none of them in our sources and mark them all vanished.
  The translation test lists every text Qt looks up while the window runs and fails on any that is
  missing here.
-->
<TS version="2.1" language="el_GR" sourcelanguage="en_US">
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <comment>Translate this string to the string 'LTR' in left-to-right languages or to 'RTL' in right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.</comment>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Αναίρεση</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translatorcomment>Mnemonic on ρ: α, ν, κ and ε belong to the entries around it.</translatorcomment>
        <translation>Ακύ&amp;ρωση αναίρεσης</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Απο&amp;κοπή</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>Α&amp;ντιγραφή</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Επικόλληση</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Διαγραφή</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Επιλογή όλων</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translatorcomment>Greek keyboards carry Latin key caps, and Greek desktops write shortcuts as on them.</translatorcomment>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Shift</source>
        <translatorcomment>Greek keyboards carry Latin key caps, and Greek desktops write shortcuts as on them.</translatorcomment>
        <translation>Shift</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translatorcomment>A Greek system's message boxes read OK.</translatorcomment>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translatorcomment>Asked for instead of the plain OK on GNOME-like desktops.</translatorcomment>
        <translation>&amp;OK</translation>
    </message>
</context>
</TS>
