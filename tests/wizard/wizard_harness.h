#pragma once
// A main window on a temporary settings store, with hooks, dialogs and
// message boxes that record what happened.

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "file_dialogs.h"
#include "form1.h"
#include "message_sink.h"
#include "page_work.h"
#include "settings_store.h"

namespace orv::test {

class RecordingPageWork final : public PageWork {
public:
    struct Call {
        std::string hook;
        int page; // CurrentPage when the hook ran
    };
    std::vector<Call> calls;
    std::set<std::string> failing; // hooks that report a failure
    std::function<void(Form1&, const std::string&)> onCall; // runs inside each hook

    std::vector<std::string> hooks() const
    {
        std::vector<std::string> names;
        for (const Call& c : calls)
            names.push_back(c.hook);
        return names;
    }

    void startUp(Form1& f) override { record(f, "startUp"); }
    PageResult loadSourcePicture(Form1& f) override { return run(f, "loadSourcePicture"); }
    PageResult extractPicture(Form1& f) override { return run(f, "extractPicture"); }
    PageResult prepareTarget(Form1& f) override { return run(f, "prepareTarget"); }
    PageResult prepareNames(Form1& f) override { return run(f, "prepareNames"); }
    PageResult applyColourMapping(Form1& f) override { return run(f, "applyColourMapping"); }
    PageResult insertIntoRom(Form1& f) override { return run(f, "insertIntoRom"); }
    PageResult compressPicture(Form1& f) override { return run(f, "compressPicture"); }
    void searchNextOffset(Form1& f) override { record(f, "searchNextOffset"); }
    void layoutPreview(Form1& f) override
    {
        record(f, "layoutPreview");
        fallback.layoutPreview(f);
    }

private:
    void record(Form1& f, const char* hook)
    {
        calls.push_back({hook, f.state().CurrentPage});
        if (onCall)
            onCall(f, hook);
    }
    PageResult run(Form1& f, const char* hook)
    {
        record(f, hook);
        if (!failing.contains(hook))
            return {};
        f.messages().error(QString::fromLatin1(hook));
        return pageFailed();
    }
    DefaultPageWork fallback;
};

class Harness {
public:
    Harness() : store(std::make_unique<QtSettingsStore>(iniPath())) {}

    QString iniPath() const { return dir.filePath(QStringLiteral("settings.ini")); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Creates a small file and returns its path.
    QString file(const QString& name)
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write("data");
        return f.fileName();
    }

    Form1& start(const QString& commandLine = {})
    {
        form.reset();
        form = std::make_unique<Form1>(*store, messages, dialogs, work,
                                       [this](const QUrl& url) { opened.push_back(url); });
        form->startUp(commandLine);
        return *form;
    }
    // A new window on the same store, as the next run of the program sees it.
    Form1& restart()
    {
        if (form)
            form->shutdown();
        form.reset();
        store = std::make_unique<QtSettingsStore>(iniPath());
        return start();
    }

    QString get(const char* key, const char* section = "Settings") const
    {
        return store->get(QString::fromLatin1(section), QString::fromLatin1(key), QStringLiteral("<missing>"));
    }
    void put(const char* key, const QString& value, const char* section = "Settings")
    {
        store->save(QString::fromLatin1(section), QString::fromLatin1(key), value);
    }

    QTemporaryDir dir;
    std::unique_ptr<QtSettingsStore> store;
    RecordingMessageSink messages;
    ScriptedFileDialogs dialogs;
    RecordingPageWork work;
    std::vector<QUrl> opened;
    std::unique_ptr<Form1> form;
};

// The pages whose frames are visible.
std::vector<int> visiblePages(const Form1& form);

} // namespace orv::test
