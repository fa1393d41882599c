// Page 11: tile data coded from the picture or taken from the source,
// compressed, wrapped or kept, and decoded back for the preview.

#include <QCheckBox>
#include <QRadioButton>

#include "compression.h"
#include "core_page_work.h"
#include "form1.h"
#include "page_work_common.h"
#include "preview_flags.h"

namespace orv {

using namespace work;

namespace {

CompressionChoice compressionChoice(const Form1Controls& c)
{
    if (c.OptionButton12->isChecked())
        return CompressionChoice::Retain;
    if (c.OptionButton13->isChecked())
        return CompressionChoice::Uncompressed;
    return CompressionChoice::BuildNew;
}

} // namespace

PageResult CorePageWork::compressPicture(Form1& form)
{
    WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    // An ordinary picture is coded from its pixels as loaded, so that going
    // back and choosing other colours or exchanges starts from the original.
    WorkingPicture coded{s.Picture.width, s.Picture.height, {}, s.Picture.palette};
    if (s.SourceKind == FileKind::Picture)
        coded.pixels = s.LoadedPixels;

    CompressionRequest request;
    request.fromPicture = s.SourceKind == FileKind::Picture;
    request.picture = &coded;
    request.sourceStream = s.SourceStream;
    request.sourceTileData = s.SourceTileData;
    request.rawLength = s.RawLength;
    request.order = c.OptionButton10->isChecked() ? TileOrder::Vertical : TileOrder::Horizontal;
    request.choice = compressionChoice(c);
    request.blackWhite = c.Check14->isChecked();
    request.lightDark = c.Check3->isChecked();

    auto result = CodePicture(request);
    if (!result)
        return Refuse(form, result.error());
    s.TileData = std::move(result->tileData);
    s.EncodedData = std::move(result->encodedData);
    s.EncodedLength = static_cast<int32_t>(s.EncodedData.size());
    s.Picture.pixels = std::move(result->pixels);
    s.PreviewFlags = WithSizeFlags(s.PreviewFlags, s.Picture.width, s.Picture.height);
    PaintPicture1(form);
    return {};
}

} // namespace orv
