#include "page_work_common.h"

#include <QPixmap>
#include <algorithm>

#include "form1.h"
#include "message_sink.h"
#include "messages_de.h"
#include "picture_box.h"
#include "picture_image.h"
#include "up_down.h"

namespace orv::work {

std::filesystem::path ToPath(const std::string& utf8)
{
    return std::filesystem::path(utf8);
}

std::expected<int64_t, QString> StoredNumber(UpDown* spin, NumberField field)
{
    auto value = spin->storeText();
    if (value)
        return *value;
    const int64_t low = std::min(spin->minimum(), spin->maximum());
    const int64_t high = std::max(spin->minimum(), spin->maximum());
    return std::unexpected(QtText(de::Text(OutOfRangeError(field, value.error().value, low, high))));
}

PageResult Refuse(Form1& form, const QString& text)
{
    form.messages().error(text);
    return PageFailed();
}

PageResult Refuse(Form1& form, const std::string& text)
{
    return Refuse(form, QtText(text));
}

PageResult Refuse(Form1& form, const Error& error, const std::string& path)
{
    const std::string text = de::Text(error, path);
    if (error.kind != ErrorKind::LanguageUnknown && error.kind != ErrorKind::LockOpenFailed)
        return Refuse(form, text);
    form.messages().plain(QtText(text));
    return PageFailed();
}

void Inform(Form1& form, const QString& text)
{
    form.messages().show({text, QStringLiteral("Orvista"), MessageIcon::Information});
}

void PaintPicture1(Form1& form)
{
    PictureBox* box = form.ui().Picture1;
    const WorkingPicture& picture = form.state().Picture;
    const QImage image = ToQImage(picture);
    if (image.isNull())
        box->clear();
    else
        box->setPixmap(QPixmap::fromImage(image));
    const int frame = box->frameWidth();
    box->resize(std::max(picture.width, 0) + 2 * frame, std::max(picture.height, 0) + 2 * frame);
}

} // namespace orv::work
