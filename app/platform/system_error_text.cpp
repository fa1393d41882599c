#include "system_error_text.h"

#include <cerrno>
#include <cstring>

namespace orv {

namespace {

const char* germanSystemText(int code)
{
    switch (code) {
    case EPERM: return "Die Operation ist nicht erlaubt";
    case ENOENT: return "Datei oder Verzeichnis nicht gefunden";
    case EINTR: return "Unterbrochener Systemaufruf";
    case EIO: return "Eingabe-/Ausgabefehler";
    case EAGAIN: return "Die Ressource ist zur Zeit nicht verfügbar";
    case ENOMEM: return "Nicht genügend Hauptspeicher verfügbar";
    case EACCES: return "Keine Berechtigung";
    case EBUSY: return "Das Gerät oder die Ressource ist belegt";
    case EEXIST: return "Die Datei existiert bereits";
    case EXDEV: return "Ungültiger Link über Gerätegrenzen hinweg";
    case ENOTDIR: return "Ist kein Verzeichnis";
    case EISDIR: return "Ist ein Verzeichnis";
    case EMFILE: return "Zu viele offene Dateien";
    case ETXTBSY: return "Die Datei ist belegt";
    case EFBIG: return "Die Datei ist zu groß";
    case ENOSPC: return "Auf dem Gerät ist kein Speicherplatz mehr verfügbar";
    case EROFS: return "Das Dateisystem ist nur lesbar";
    case ENAMETOOLONG: return "Der Dateiname ist zu lang";
    case ELOOP: return "Zu viele Ebenen von symbolischen Links";
    case EDQUOT: return "Der zugewiesene Plattenplatz ist überschritten";
    default: return nullptr;
    }
}
} // namespace

std::string SystemErrorGerman(int code)
{
    if (code == kNotRegularFile)
        return "keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe)";
    if (code == 0)
        return "unerwartetes Dateiende";
    const char* text = germanSystemText(code);
    return "Systemfehler " + std::to_string(code) + ": " + (text ? text : std::strerror(code));
}

std::string SystemErrorEnglish(int code)
{
    if (code == kNotRegularFile)
        return "not a regular file (a folder, a device or a pipe)";
    if (code == 0)
        return "unexpected end of file";
    return "system error " + std::to_string(code) + ": " + std::strerror(code);
}

} // namespace orv
