// Start-up and shutdown of the main window, the recent-file lists and the
// browse dialogs.

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cstring>
#include <limits>

#include "control_settings.h"
#include "file_dialogs.h"
#include "file_exists.h"
#include "form1.h"
#include "form1_layout.h"
#include "page_work.h"
#include "picture_box.h"

namespace orv {
namespace {

const QString kRecent = QString::fromLatin1(kRecentSection);

int32_t toInt32(long long v)
{
    return static_cast<int32_t>(
        std::clamp<long long>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A list count is a 16-bit number.
int listCount(const QString& text)
{
    return static_cast<int>(std::clamp<long long>(settingNumber(text), 0, std::numeric_limits<int16_t>::max()));
}

QString trimBlanks(const QString& s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s[first] == QLatin1Char(' '))
        ++first;
    while (last > first && s[last - 1] == QLatin1Char(' '))
        --last;
    return s.mid(first, last - first);
}

} // namespace

QString Form1::sourceFilter()
{
    return QString::fromUtf8("Alle Unterstützten Formate|*.gif;*.bmp;*.ico;*.cur;*.orv;*.gb*|"
                             "Bild-Dateien (*.gif;*.bmp;*.ico;*.cur)|*.bmp;*.gif;*.ico;*.cur|"
                             "PNG-Bilder (*.png)|*.png|"
                             "Gameboy-Roms (*.gb*)|*.gb*|"
                             "Backup-Dateien (Als Bilder) (*.bak;*.old)|*.bak;*.old|"
                             "ORV Bild-Dateien (*.orv)|*.orv");
}

QString Form1::targetFilter()
{
    return QString::fromUtf8("Gameboy-Roms (*.gb*)|*.gbc;*.gb*|Bitmaps (*.dib;*.bmp)|*.dib;*.bmp|"
                             "ORV Bild-Dateien (*.orv)|*.orv");
}

QStringList Form1::targetSuffixes()
{
    return {QStringLiteral("gbc"), QStringLiteral("bmp"), QStringLiteral("orv")};
}

void Form1::startUp(const QString& commandLine)
{
    state_.DragActive = false;
    work_.startUp(*this);
    restoreWindowPosition();
    state_.CurrentPage = 1;
    loadRecentLists();
    controlSettings_->restoreAll(settings_);

    const QString file = trimBlanks(commandLine);
    if (!file.isEmpty()) {
        ui_.Combo1->setEditText(file);
        NextClicked();
    }
    applyPreviewSettings();
    FitDropDownWidth(ui_.Combo1);
    FitDropDownWidth(ui_.Combo2);
}

void Form1::restoreWindowPosition()
{
    int32_t x = toInt32(readSettingNumber(settings_, key::WinPosX));
    int32_t y = toInt32(readSettingNumber(settings_, key::WinPosY));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        if (static_cast<long long>(x) > static_cast<long long>(size.width()) * kTwipsPerPixel)
            x = 200;
        if (static_cast<long long>(y) > static_cast<long long>(size.height()) * kTwipsPerPixel)
            y = 200;
    }
    move(x / kTwipsPerPixel, y / kTwipsPerPixel);
}

void Form1::applyPreviewSettings()
{
    // A bar is never thicker than the 89-pixel viewport it lies in.
    const auto thickness = [this](const SettingKey& k) {
        return static_cast<int32_t>(std::clamp<long long>(readSettingNumber(settings_, k), 0, 89));
    };
    state_.ScrollWidthV = thickness(key::VScrollWidth);
    state_.ScrollWidthH = thickness(key::HScrollWidth);
    ui_.VScroll1->resize(state_.ScrollWidthV, ui_.VScroll1->height());
    ui_.HScroll1->resize(ui_.HScroll1->width(), state_.ScrollWidthH);
    ui_.Picture7->resize(state_.ScrollWidthV, state_.ScrollWidthH);
    state_.PreviewFlags = static_cast<uint8_t>(readSettingNumber(settings_, key::BigPreview) & kPreviewBig);
}

void Form1::shutdown()
{
    if (isMinimized())
        return;
    writeSetting(settings_, key::WinPosX, QString::number(static_cast<long long>(x()) * kTwipsPerPixel));
    writeSetting(settings_, key::WinPosY, QString::number(static_cast<long long>(y()) * kTwipsPerPixel));
}

QComboBox* Form1::comboOf(const RecentList& list) const
{
    return std::strcmp(list.countKey, kSourceList.countKey) == 0 ? ui_.Combo1 : ui_.Combo2;
}

void Form1::loadRecentLists()
{
    // Source files that have gone are left out; target entries only need a name.
    const int sources = listCount(settings_.get(kRecent, QString::fromLatin1(kSourceList.countKey), "0"));
    for (int i = 1; i <= sources; ++i) {
        const QString path = settings_.get(kRecent, kSourceList.entryKey(i), QString());
        if (FileExists(path))
            ui_.Combo1->addItem(path);
    }
    const QString lastSource = ui_.Combo1->count() > 0 ? ui_.Combo1->itemText(ui_.Combo1->count() - 1) : QString();
    const QString openFile = readSetting(settings_, key::LastOpenFile, lastSource);
    ui_.Combo1->setEditText(openFile);
    if (!FileExists(openFile)) {
        ui_.Combo1->setCurrentIndex(-1);
        ui_.Combo1->clearEditText();
    }

    const int targets = listCount(settings_.get(kRecent, QString::fromLatin1(kTargetList.countKey), "0"));
    for (int i = 1; i <= targets; ++i) {
        const QString path = settings_.get(kRecent, kTargetList.entryKey(i), QString());
        if (!path.isEmpty())
            ui_.Combo2->addItem(path);
    }
    const QString lastTarget = ui_.Combo2->count() > 0 ? ui_.Combo2->itemText(ui_.Combo2->count() - 1) : QString();
    ui_.Combo2->setEditText(readSetting(settings_, key::LastSaveFile, lastTarget));
}

void Form1::RememberFile(const RecentList& list)
{
    QComboBox* box = comboOf(list);
    const QString text = box->currentText();
    writeSetting(settings_, list.lastFile, text);
    bool isNew = true;
    int k = 1;
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i) == text) {
            isNew = false;
            continue;
        }
        settings_.save(kRecent, list.entryKey(k++), box->itemText(i));
    }
    const int count = box->count() + (isNew ? 1 : 0);
    settings_.save(kRecent, QString::fromLatin1(list.countKey), QString::number(count));
    settings_.save(kRecent, list.entryKey(count), text);
    if (isNew) {
        box->addItem(text);
        box->setEditText(text);
    }
    FitDropDownWidth(box);
}

void Form1::ResetList(const RecentList& list)
{
    const QString countKey = QString::fromLatin1(list.countKey);
    const int n = listCount(settings_.get(kRecent, countKey, QStringLiteral("0")));
    for (int i = 1; i <= n; ++i)
        settings_.remove(kRecent, list.entryKey(i));
    QComboBox* box = comboOf(list);
    box->clear();
    box->clearEditText();
    settings_.save(kRecent, countKey, QStringLiteral("0"));
}

void Form1::BrowseSource()
{
    if (auto name = dialogs_.openFile(this, ui_.Combo1->currentText(), sourceFilter()))
        ui_.Combo1->setEditText(*name);
}

void Form1::BrowseTarget()
{
    if (auto name = dialogs_.saveFile(this, ui_.Combo2->currentText(), targetFilter(), targetSuffixes()))
        ui_.Combo2->setEditText(*name);
}

void Form1::FitDropDownWidth(QComboBox* box)
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QFontMetrics metrics(font());
    int w = box->width() - scrollBar - 8;
    for (int i = 0; i < box->count(); ++i)
        w = std::max(w, metrics.horizontalAdvance(box->itemText(i)));
    box->view()->setMinimumWidth(w + scrollBar + 8);
}

} // namespace orv
