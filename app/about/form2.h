#pragma once
// The about window: program name, version, supported games, a freeware
// notice, links and thanks. A click on the window or a plain label closes
// it; dragging with the left button moves it.

#include <QDialog>
#include <QPoint>
#include <functional>

class QUrl;

namespace orv {

// Opens an address with the system's default handler.
using LinkOpener = std::function<void(const QUrl&)>;

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(LinkOpener openLink, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void makeClosing(QWidget* w);
    void makeLink(QWidget* w, const QString& address);

    LinkOpener openLink_;
    bool pressed_ = false;
    bool dragged_ = false;
    QPoint pressGlobal_;
    QPoint pressWindowPos_;
};

} // namespace orv
