#include "page_work.h"

#include "form1.h"
#include "picture_box.h"

namespace orv {

void DefaultPageWork::layoutPreview(Form1& form)
{
    form.ui().Picture8->hide();
    form.ui().Picture1->show();
    form.ui().Picture1->raise();
}

} // namespace orv
