#pragma once
// The main window on the real page work: temporary settings store, files
// written by the test, message boxes recorded.

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "core_page_work.h"
#include "file_dialogs.h"
#include "form1.h"
#include "message_sink.h"
#include "settings_store.h"
#include "synthetic_rom.h"
#include "working_picture.h"

namespace orv::test {

class CoreHarness {
public:
    CoreHarness()
        : store(std::make_unique<QtSettingsStore>(QString::fromStdString((dir / "settings.ini").string())))
    {
    }

    Form1& start()
    {
        form = std::make_unique<Form1>(*store, messages, dialogs, work, [](const QUrl&) {});
        form->startUp();
        return *form;
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    // A picture file; colourAt(x, t) gives column x of line t (0 = top).
    std::string picture(const std::string& name, int width, int height,
                        const std::function<Colour(int, int)>& colourAt) const
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int t = 0; t < height; ++t)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, t, 0xFF000000u | colourAt(x, t));
        const std::string file = path(name);
        image.save(QString::fromStdString(file), "BMP");
        return file;
    }

    std::string rom(const std::string& name, const SyntheticRom& content) const
    {
        const std::string file = path(name);
        content.write(file);
        return file;
    }

    void next() { form->ui().Command2->click(); }
    // Page 1: the source path, then Next.
    void open(const std::string& source)
    {
        form->ui().Combo1->setEditText(QString::fromStdString(source));
        next();
    }
    // Page 4: the target path, then Next.
    void saveTo(const std::string& target)
    {
        form->ui().Combo2->setEditText(QString::fromStdString(target));
        next();
    }

    TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    RecordingMessageSink messages;
    ScriptedFileDialogs dialogs;
    CorePageWork work;
    std::unique_ptr<Form1> form;
};

// Quadrants: white top-left, black top-right, red bottom-left, blue
// bottom-right; red is met first by the column-wise, bottom-up colour scan.
inline Colour Quadrants(int x, int t, int width, int height)
{
    const bool right = x >= width / 2, bottom = t >= height / 2;
    if (!bottom)
        return right ? kBlack : kWhite;
    return right ? 0x0000FF : 0xFF0000;
}

} // namespace orv::test
