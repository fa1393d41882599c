// Page 3's preview: layout on show and after each click on the corner
// button, scrolling through the bars, dragging the picture.

#include <QMouseEvent>
#include <QScrollBar>
#include <cmath>

#include "core_page_work.h"
#include "form1.h"
#include "picture_box.h"
#include "preview_binding.h"

namespace orv {

void CorePageWork::layoutPreview(Form1& form)
{
    PreviewBinding::of(form).layout();
}

PreviewBinding& PreviewBinding::of(Form1& form)
{
    if (auto* binding = form.findChild<PreviewBinding*>(QString(), Qt::FindDirectChildrenOnly))
        return *binding;
    return *new PreviewBinding(form);
}

PreviewBinding::PreviewBinding(Form1& form) : QObject(&form), form_(form)
{
    const Form1Controls& c = form.ui();
    c.Picture8->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.Picture8->setLineWidth(kViewportBorder);
    inner_ = new QWidget(c.Picture8);
    inner_->setObjectName(QStringLiteral("Picture8Inner"));
    inner_->setGeometry(c.Picture8->contentsRect());
    for (QWidget* w : std::initializer_list<QWidget*>{c.Picture6, c.VScroll1, c.HScroll1, c.Picture7}) {
        const QPoint at = w->pos();
        w->setParent(inner_);
        w->move(at);
        w->show();
    }
    c.Picture6->installEventFilter(this);
}

void PreviewBinding::setBarRange(QScrollBar* bar, int maximum)
{
    bar->setInvertedAppearance(maximum < 0);
    bar->setInvertedControls(maximum < 0);
    bar->setRange(std::min(0, maximum), std::max(0, maximum));
}

void PreviewBinding::layout()
{
    const Form1Controls& c = form_.ui();
    const WizardState& s = form_.state();
    const int frame = c.Picture8->frameWidth();
    layout_ = LayoutPreview(s.PreviewFlags, s.Picture.width, s.Picture.height, s.ScrollWidthV, s.ScrollWidthH,
                            frame);
    if (!layout_.viewport) {
        c.Picture8->hide();
        c.Picture1->show();
        c.Picture1->raise();
        return;
    }
    c.Picture8->resize(layout_.outerWidth, layout_.outerHeight);
    inner_->setGeometry(c.Picture8->contentsRect());
    c.Picture6->setPixmap(c.Picture1->pixmap());
    c.Picture6->resize(s.Picture.width, s.Picture.height);
    const auto place = [](QWidget* w, const PreviewRect& r) { w->setGeometry(r.left, r.top, r.width, r.height); };
    place(c.VScroll1, layout_.vBar);
    place(c.HScroll1, layout_.hBar);
    place(c.Picture7, layout_.corner);
    setBarRange(c.VScroll1, layout_.vMax);
    setBarRange(c.HScroll1, layout_.hMax);
    // The scroll position survives as far as the new ranges allow.
    c.Picture6->move(PictureOffset(c.HScroll1->value()), PictureOffset(c.VScroll1->value()));
    c.Picture8->show();
    c.Picture8->raise();
    c.Picture1->hide();
}

void PreviewBinding::drag(int x, int y)
{
    const Form1Controls& c = form_.ui();
    const WizardState& s = form_.state();
    // The start point is kept: the picture moves with the bars, so the
    // grabbed point stays under the pointer.
    if (x != s.DragStartX)
        c.HScroll1->setValue(DragScroll(c.HScroll1->value(), s.DragStartX, x, layout_.hMax));
    if (y != s.DragStartY)
        c.VScroll1->setValue(DragScroll(c.VScroll1->value(), s.DragStartY, y, layout_.vMax));
}

// Installed on Picture6 only. Other events are let through untouched: they
// also arrive while the window is being torn down.
bool PreviewBinding::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        WizardState& s = form_.state();
        s.DragActive = true;
        s.DragStartX = static_cast<int32_t>(std::lround(at.x()));
        s.DragStartY = static_cast<int32_t>(std::lround(at.y()));
        break;
    }
    case QEvent::MouseMove:
        if (form_.state().DragActive) {
            const QPointF at = static_cast<QMouseEvent*>(event)->position();
            drag(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y())));
        }
        break;
    case QEvent::MouseButtonRelease: form_.state().DragActive = false; break;
    default: break;
    }
    return false;
}

} // namespace orv
