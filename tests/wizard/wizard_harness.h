#pragma once
// The main window on a temporary settings store with recorded message boxes
// and scripted dialogs; its page work either records the hooks it ran or is
// the real work on the cores.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core_page_work.h"
#include "file_dialogs.h"
#include "form1.h"
#include "message_sink.h"
#include "picture_box.h"
#include "settings_store.h"
#include "synthetic_rom.h"
#include "up_down.h"
#include "working_picture.h"

namespace orv::test {

// Appends "hook@CurrentPage" to trace for every hook; hooks named in failing report a failure.
class RecordingPageWork final : public DefaultPageWork {
public:
    std::string trace;
    std::set<std::string> failing;

    void startUp(Form1& f) override { (void)run(f, "startUp"); }
    PageResult loadSourcePicture(Form1& f) override { return run(f, "loadSourcePicture"); }
    PageResult extractPicture(Form1& f) override { return run(f, "extractPicture"); }
    PageResult prepareTarget(Form1& f) override { return run(f, "prepareTarget"); }
    PageResult prepareNames(Form1& f) override { return run(f, "prepareNames"); }
    PageResult applyColourMapping(Form1& f) override { return run(f, "applyColourMapping"); }
    PageResult insertIntoRom(Form1& f) override { return run(f, "insertIntoRom"); }
    PageResult compressPicture(Form1& f) override { return run(f, "compressPicture"); }
    void layoutPreview(Form1& f) override
    {
        (void)run(f, "layoutPreview");
        DefaultPageWork::layoutPreview(f);
    }

private:
    PageResult run(Form1& f, const std::string& hook)
    {
        trace += (trace.empty() ? "" : " ") + hook + "@" + std::to_string(f.state().CurrentPage);
        if (!failing.contains(hook))
            return {};
        f.messages().error(QString::fromStdString(hook));
        return pageFailed();
    }
};

template <class Work>
class HarnessOf {
public:
    QString path(const QString& name) const { return QString::fromStdString((dir / name.toStdString()).string()); }
    QString file(const QString& name) const
    {
        std::ofstream(path(name).toStdString()) << "data";
        return path(name);
    }
    // A picture file; colourAt(x, t) gives column x of line t (0 = top).
    QString picture(const QString& name, int width, int height, const std::function<Colour(int, int)>& colourAt) const
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int t = 0; t < height; ++t)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, t, 0xFF000000u | colourAt(x, t));
        image.save(path(name), "BMP");
        return path(name);
    }
    QString rom(const QString& name, const SyntheticRom& content) const
    {
        content.write(path(name).toStdString());
        return path(name);
    }

    Form1& start(const QString& commandLine = {})
    {
        form.reset();
        form = std::make_unique<Form1>(*store, messages, dialogs, work, [](const QUrl&) {});
        form->startUp(commandLine);
        return *form;
    }
    // A new window on a new store of the same file, as the next run of the program sees it.
    Form1& restart()
    {
        form->shutdown();
        form.reset();
        store = std::make_unique<QtSettingsStore>(path("settings.ini"));
        return start();
    }
    QString get(const QString& key, const QString& section = "Settings") const
    {
        return store->get(section, key, "<missing>");
    }
    void put(const QString& key, const QString& value, const QString& section = "Settings")
    {
        store->save(section, key, value);
    }

    void next() { form->ui().Command2->click(); }
    void back() { form->ui().Command3->click(); }
    void open(const QString& source) // page 1
    {
        form->ui().Combo1->setEditText(source);
        next();
    }
    void saveTo(const QString& target) // page 4
    {
        form->ui().Combo2->setEditText(target);
        next();
    }
    // Puts the window on page n as the dispatcher would leave it.
    void show(int n)
    {
        form->HidePage(form->state().CurrentPage);
        form->ShowPage(n);
    }
    // Width, height, pixels, bytes and palette as page 3 shows them.
    QStringList facts() const
    {
        const Form1Controls& c = form->ui();
        return {c.Label7->text(), c.Label8->text(), c.Label9->text(), c.Label10->text(), c.Text5->text()};
    }
    std::vector<int> pages() const // those on show
    {
        std::vector<int> shown;
        for (int n = 1; n <= 11; ++n)
            if (!form->ui().frame(n)->isHidden())
                shown.push_back(n);
        return shown;
    }

    TempDir dir;
    std::unique_ptr<QtSettingsStore> store = std::make_unique<QtSettingsStore>(path("settings.ini"));
    RecordingMessageSink messages;
    ScriptedFileDialogs dialogs;
    Work work;
    std::unique_ptr<Form1> form;
};

// The recorded message as the real box shows it over the window, grabbed to
// the screens folder for a look, then answered with Return (No for a question).
inline void GrabBox(QWidget& window, const Message& message, bool question, const char* name)
{
    BoxMessageSink sink(&window);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = window.findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr);
        shown = box->windowTitle() + ": " + box->text();
        QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
        EXPECT_TRUE(box->grab().save(QStringLiteral(ORV_SCREENS_DIR "/") + QLatin1String(name)));
        QTest::keyClick(box, Qt::Key_Return);
    });
    if (question)
        EXPECT_FALSE(sink.ask(message));
    else
        sink.show(message);
    EXPECT_EQ(shown, message.caption + ": " + message.text);
}

// Ticks or clears the buttons, in this order.
inline void Tick(std::initializer_list<QAbstractButton*> buttons, bool on = true)
{
    for (QAbstractButton* b : buttons)
        b->setChecked(on);
}

using Harness = HarnessOf<RecordingPageWork>;
using CoreHarness = HarnessOf<CorePageWork>;
using Pages = std::vector<int>;

// Quadrants: white top-left, black top-right, red bottom-left, blue
// bottom-right; red is met first by the column-wise, bottom-up colour scan.
inline std::function<Colour(int, int)> Quadrants(int width, int height)
{
    return [=](int x, int t) -> Colour {
        if (t < height / 2)
            return x >= width / 2 ? kBlack : kWhite;
        return x >= width / 2 ? 0x0000FF : 0xFF0000;
    };
}

} // namespace orv::test
