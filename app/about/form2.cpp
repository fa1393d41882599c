#include "form2.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>
#include <QWindow>

#include "orvista_version.h"

namespace orv {
namespace {

struct Link {
    const char* host;
    const char* description;
};

// Neutral placeholders: the project's own addresses are not part of the program.
constexpr Link kLinks[] = {
    {"www.example.org", "Projektseite"},
    {"forum.example.org", "Forum"},
    {"docs.example.org", "Anleitungen"},
};

constexpr const char* kThanks[] = {"Allen Testern", "Allen, die Fehler gemeldet haben", "Allen Übersetzern"};

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& r)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(r);
    return l;
}

// The program's mark: a tile in the four shades.
QPixmap decoration()
{
    QPixmap pixmap(48, 48);
    QPainter p(&pixmap);
    const QColor shades[] = {QColor(0xFF, 0xFF, 0xFF), QColor(0xA8, 0xA8, 0xA8), QColor(0x54, 0x54, 0x54),
                             QColor(0, 0, 0)};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.fillRect(x * 6, y * 6, 6, 6, shades[(x + y) % 4]);
    return pixmap;
}

} // namespace

Form2::Form2(LinkOpener openLink, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), openLink_(std::move(openLink))
{
    setObjectName(u("Form2"));
    setWindowTitle(u("Info zu Orvista"));
    setModal(true);
    build();
}

void Form2::build()
{
    setFixedSize(440, 420);
    auto* border = new QFrame(this);
    border->setObjectName(u("Rahmen"));
    border->setFrameShape(QFrame::Box);
    border->setGeometry(rect());
    makeClosing(this);
    makeClosing(border);

    auto* deko = label(this, u("Deko"), QString(), {16, 16, 48, 48});
    deko->setPixmap(decoration());
    makeClosing(deko);

    QFont big = font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    makeClosing(label(this, u("LabelInfo"), u("Info zu"), {80, 14, 120, 20}));
    QLabel* name = label(this, u("LabelName"), u("Orvista"), {80, 34, 200, 30});
    name->setFont(big);
    makeClosing(name);
    makeClosing(label(this, u("LabelVersion"), u("Version:"), {290, 18, 70, 20}));
    makeClosing(label(this, u("Label1"), u(ORVISTA_VERSION " XP"), {360, 18, 70, 20}));

    // Two-line captions of the label array; "&&" shows one "&".
    makeClosing(label(this, u("Label(1)"), u("Gesamte Programmierung und Design\n2002-04 by:"), {16, 76, 250, 36}));
    QLabel* maker = label(this, u("Label5"), u("Das Orvista-Team"), {270, 94, 160, 18});
    makeLink(maker, u("mailto:team@example.org"));
    makeClosing(label(this, u("Label(13)"), u("Unterstützte Roms:\nSprachversionen:"), {16, 120, 150, 36}));
    makeClosing(label(this, u("Label(3)"), u("Gold, Silber\nEnglisch & Deutsch"), {170, 120, 250, 36}));

    makeClosing(label(this, u("LabelAchtung"), u("Achtung:"), {16, 164, 70, 18}));
    makeClosing(label(this, u("LabelFreeware"),
                      u("Dieses Programm ist Freeware und darf kostenlos weitergegeben werden. Die Benutzung "
                        "geschieht auf eigene Gefahr: vor dem Einfügen eine Sicherungskopie des Roms anlegen."),
                      {90, 164, 334, 72}));

    auto* links = new QFrame(this);
    links->setObjectName(u("Links"));
    links->setFrameShape(QFrame::StyledPanel);
    links->setGeometry(16, 244, 408, 90);
    makeClosing(links);
    makeClosing(label(links, u("LinksCaption"), u("Links"), {8, 4, 100, 18}));
    int top = 24;
    int index = 0;
    for (const Link& link : kLinks) {
        QLabel* host = label(links, u("Links(%1)").arg(index), u(link.host), {8, top, 180, 18});
        QFont underlined = host->font();
        underlined.setUnderline(true);
        host->setFont(underlined);
        host->setCursor(Qt::PointingHandCursor);
        makeLink(host, u("http://") + host->text());
        makeClosing(label(links, u("LinkText(%1)").arg(index), u(link.description), {200, top, 200, 18}));
        top += 20;
        ++index;
    }

    auto* thanks = new QFrame(this);
    thanks->setObjectName(u("DankAn"));
    thanks->setFrameShape(QFrame::StyledPanel);
    thanks->setGeometry(16, 340, 408, 72);
    makeClosing(thanks);
    makeClosing(label(thanks, u("DankAnCaption"), u("Dank an"), {8, 4, 100, 18}));
    top = 22;
    index = 0;
    for (const char* line : kThanks) {
        makeClosing(label(thanks, u("Dank(%1)").arg(index++), u(line), {8, top, 390, 16}));
        top += 15;
    }
}

void Form2::makeClosing(QWidget* w)
{
    w->setProperty("closesAbout", true);
    w->installEventFilter(this);
}

void Form2::makeLink(QWidget* w, const QString& address)
{
    w->setProperty("link", address);
    w->installEventFilter(this);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    const QVariant link = watched->property("link");
    const bool closing = watched->property("closesAbout").toBool();
    if (!link.isValid() && !closing)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        pressed_ = e->button() == Qt::LeftButton;
        dragged_ = false;
        pressGlobal_ = e->globalPosition().toPoint();
        pressWindowPos_ = pos();
        return pressed_;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!closing || !pressed_ || !(e->buttons() & Qt::LeftButton))
            return false;
        if (!dragged_ && windowHandle() && windowHandle()->startSystemMove()) {
            pressed_ = false; // the window system moves it from here
            dragged_ = true;
            return true;
        }
        dragged_ = true;
        move(pressWindowPos_ + e->globalPosition().toPoint() - pressGlobal_);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const bool click = pressed_ && !dragged_ && e->button() == Qt::LeftButton;
        pressed_ = false;
        if (!click)
            return false;
        if (link.isValid()) {
            if (openLink_)
                openLink_(QUrl(link.toString()));
        } else {
            close();
        }
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace orv
