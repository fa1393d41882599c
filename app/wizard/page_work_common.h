#pragma once
// Small pieces the page hooks share: paths and texts between Qt and the
// cores, typed numbers through their spin controls, and the message forms.

#include <QString>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>

#include "page_work.h"
#include "error.h"

namespace orv {

class Form1;
class UpDown;

namespace work {

std::filesystem::path ToPath(const std::string& utf8);
inline QString QtText(const std::string& utf8) { return QString::fromStdString(utf8); }

// The number typed in the spin control's text box, stored into it. Out of
// range: "<field> <v> liegt außerhalb des erlaubten Bereichs von <min> bis <max>."
std::expected<int64_t, QString> StoredNumber(UpDown* spin, NumberField field);

// "Fehler" box with the critical icon, then the wizard stays.
PageResult Refuse(Form1& form, const QString& text);
PageResult Refuse(Form1& form, const std::string& text);
// The core's failures in German, path the file they are about; "Error: <n>"
// and the unknown language keep their plain OK box without the "Fehler" caption.
PageResult Refuse(Form1& form, const Error& error, const std::string& path = {});
// An OK box with the information icon and the program's title.
void Inform(Form1& form, const QString& text);

// Shows the working picture in Picture1 at one pixel per pixel, its frame
// around it; an empty picture leaves the surface blank at the picture's size.
void PaintPicture1(Form1& form);

} // namespace work
} // namespace orv
