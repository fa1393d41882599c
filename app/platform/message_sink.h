#pragma once
// Message boxes behind an interface, so tests capture them instead of blocking.

#include <QString>
#include <vector>

class QWidget;

namespace orv {

enum class MessageIcon { None, Critical, Information, Warning };

struct Message {
    QString text;
    QString caption; // "Orvista" when the caller gives none
    MessageIcon icon = MessageIcon::None;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const Message& message) = 0;
    // A Yes/No question whose default is No; true for Yes.
    virtual bool ask(const Message& question) = 0;

    // Caption "Fehler" with the critical icon: the usual failure report.
    void error(const QString& text) { show({text, QStringLiteral("Fehler"), MessageIcon::Critical}); }
    // OK box with the program's title.
    void plain(const QString& text) { show({text, QStringLiteral("Orvista"), MessageIcon::None}); }
};

class BoxMessageSink final : public MessageSink {
public:
    explicit BoxMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(const Message& message) override;
    bool ask(const Message& question) override;

private:
    QWidget* parent_;
};

class RecordingMessageSink final : public MessageSink {
public:
    void show(const Message& message) override { messages.push_back(message); }
    // Questions are recorded among the messages and answered with `answer`.
    bool ask(const Message& question) override
    {
        messages.push_back(question);
        ++questions;
        return answer;
    }
    std::vector<Message> messages;
    bool answer = false;
    int questions = 0;
};

} // namespace orv
