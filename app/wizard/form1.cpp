#include "form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>
#include "binary_file.h"

#include "classify_path.h"
#include "control_settings.h"
#include "file_exists.h"
#include "form1_layout.h"
#include "message_sink.h"
#include "orvista_version.h"
#include "page_rules.h"
#include "page_work.h"
#include "picture_box.h"
#include "slot_names.h"
#include "up_down.h"

namespace orv {

Form1::Form1(SettingsStore& settings, MessageSink& messages, FileDialogs& dialogs, PageWork& work,
             LinkOpener openLink, QWidget* parent)
    : QWidget(parent), settings_(settings), messages_(messages), dialogs_(dialogs), work_(work),
      openLink_(std::move(openLink))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ORV v" ORVISTA_VERSION " XP"));
    setFixedSize(scaledPixels(kWindowWidthTwips), scaledPixels(kWindowHeightTwips));
    buildForm1Controls(this, ui_);
    setAcceptDrops(true);
    // The text boxes of page 1 would take a dropped file as text.
    for (QWidget* box : {static_cast<QWidget*>(ui_.Combo1->lineEdit()), static_cast<QWidget*>(ui_.Text11)})
        box->installEventFilter(this);
    controlSettings_ = std::make_unique<ControlSettings>(ui_);
    rules_ = new PageRules(ui_, this);
    slotNames_ = new SlotNames(ui_, this);

    connect(ui_.Command2, &QPushButton::clicked, this, &Form1::NextClicked);
    connect(ui_.Command3, &QPushButton::clicked, this, &Form1::BackClicked);
    connect(ui_.Command1, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_.Command7, &QPushButton::clicked, this, &Form1::openAbout);
    connect(ui_.Command4, &QPushButton::clicked, this, &Form1::BrowseSource);
    connect(ui_.Command5, &QPushButton::clicked, this, &Form1::BrowseTarget);
    connect(ui_.Command8, &QPushButton::clicked, this, [this] { ResetList(kSourceList); });
    connect(ui_.Command9, &QPushButton::clicked, this, [this] { ResetList(kTargetList); });
    connect(ui_.Command6, &QPushButton::clicked, this, [this] { work_.searchNextOffset(*this); });
    connect(ui_.Picture7, &PictureBox::clicked, this, [this] {
        state_.PreviewFlags ^= kPreviewBig;
        LayoutPreview();
    });
    // The scroll bars move the picture inside the viewport.
    connect(ui_.VScroll1, &QScrollBar::valueChanged, this,
            [this](int v) { ui_.Picture6->move(ui_.Picture6->x(), -v); });
    connect(ui_.HScroll1, &QScrollBar::valueChanged, this,
            [this](int v) { ui_.Picture6->move(-v, ui_.Picture6->y()); });
}

Form1::~Form1() = default;

// A file dropped on page 1 is taken as the command line's file is.
static QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return {};
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    if (state_.CurrentPage == 1 && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    const QString file = droppedFile(event->mimeData());
    if (state_.CurrentPage != 1 || file.isEmpty())
        return;
    event->acceptProposedAction();
    ui_.Combo1->setEditText(file);
    NextClicked();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedFile(drag->mimeData()).isEmpty()) {
            if (state_.CurrentPage == 1)
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!droppedFile(drop->mimeData()).isEmpty()) {
            dropEvent(drop);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    shutdown();
    QWidget::closeEvent(event);
}

void Form1::LayoutPreview()
{
    work_.layoutPreview(*this);
}

void Form1::selectItem(QComboBox* box, int index)
{
    const bool same = box->currentIndex() == index;
    box->setCurrentIndex(index);
    if (!same)
        return; // the index change ran the handler
    if (box == ui_.Combo3)
        rules_->Combo3Chosen();
    else if (box == ui_.Combo4)
        rules_->Combo4Chosen();
    else if (box == ui_.Combo5)
        rules_->Combo5Chosen();
}

void Form1::replaceItems(QComboBox* box, const std::vector<ListItem>& items)
{
    const QSignalBlocker quiet(box);
    box->clear();
    for (const ListItem& item : items)
        box->addItem(item.text, item.data);
    box->setCurrentIndex(-1);
}

void Form1::openAbout()
{
    Form2 about(openLink_, this);
    about.exec();
}

void Form1::ShowPage(int n)
{
    QFrame* frame = ui_.frame(n);
    if (!frame)
        return;
    switch (n) {
    case 1:
        frame->show();
        ui_.Command3->setEnabled(false);
        break;
    case 2:
        slotNames_->setNames(2, state_.SourceKind == FileKind::Rom ? work_.pokemonNames(*this, state_.SourcePath)
                                                                    : std::vector<QString>{});
        frame->show();
        break;
    case 6:
        slotNames_->setNames(6, work_.pokemonNames(*this, state_.TargetPath));
        frame->show();
        break;
    case 3: {
        const WorkingPicture& p = state_.Picture;
        ui_.Label7->setText(QString::number(p.width));
        ui_.Label8->setText(QString::number(p.height));
        ui_.Label9->setText(QString::number(static_cast<int32_t>(p.width) * static_cast<int32_t>(p.height)));
        ui_.Label10->setText(QString::number(state_.EncodedLength));
        ui_.Text5->setText(QString::fromStdString(state_.PaletteText));
        frame->show();
        LayoutPreview();
        break;
    }
    case 7:
        ui_.Label11->setText(QStringLiteral("Das Bild aus der Datei \"") + QString::fromStdString(state_.SourcePath) +
                             QStringLiteral("\" wurde erfolgreich in die Datei \"") +
                             QString::fromStdString(state_.TargetPath) + QStringLiteral("\" eingefügt."));
        frame->show();
        ui_.Command3->setEnabled(false);
        break;
    default:
        frame->show();
        break;
    }
    state_.CurrentPage = static_cast<uint8_t>(n);
}

void Form1::HidePage(int n)
{
    QFrame* frame = ui_.frame(n);
    if (!frame)
        return;
    frame->hide();
    if (n == 1)
        ui_.Command3->setEnabled(true);
    if (n == 3) {
        ui_.Picture1->hide();
        ui_.Picture8->hide();
    }
}

void Form1::NextClicked()
{
    const int shown = state_.CurrentPage;
    // A page's work that runs out of memory fails like any other.
    bool done = false;
    bool outOfMemory = false;
    try {
        done = runNext();
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (const std::length_error&) {
        outOfMemory = true;
    }
    if (outOfMemory)
        messages_.error(QStringLiteral("Für diesen Schritt reicht der Hauptspeicher nicht (") +
                        QString::fromStdString(systemErrorGerman(ENOMEM)) + QStringLiteral(")."));
    if (done)
        return;
    // A failure after a skip would leave no page on show: the page of the
    // click comes back as it was.
    for (int n = 1; n <= 11; ++n)
        if (!ui_.frame(n)->isHidden())
            return;
    ShowPage(shown);
}

bool Form1::skipTo(int page)
{
    state_.CurrentPage = static_cast<uint8_t>(page);
    return runNext();
}

bool Form1::runNext()
{
    // One branch per call, chosen by the page at entry.
    switch (const int page = state_.CurrentPage; page) {
    case 1: return nextFromSource();
    case 2: return nextFromExtraction();
    case 3: return nextFromPreview();
    case 4: return nextFromTarget();
    case 5: return nextFromOffset();
    case 6: return nextFromSlot();
    case 7: return nextFromSuccess();
    case 8: return nextFromColours();
    case 9: return nextFromInsertion();
    case 10: return nextFromRomChoice();
    case 11: return nextFromCompression();
    default: return false;
    }
}

bool Form1::nextFromSource()
{
    const QString path = ui_.Combo1->currentText();
    state_.SourcePath = path.toStdString();
    if (!FileExists(path)) {
        messages_.error(QStringLiteral("Die Datei \"") + path + QStringLiteral("\" konnte nicht gefunden werden."));
        return false;
    }
    state_.SourceKind = ClassifyPath(state_.SourcePath);
    ui_.Picture1->clear();
    switch (state_.SourceKind) {
    case FileKind::Rom:
        if (!work_.checkRomSource(*this))
            return false;
        // Page 10's offset spans the ROM.
        ui_.UpDown9->setRange(0, std::max<qint64>(QFileInfo(path).size() - 1, 0));
        HidePage(1);
        ShowPage(10);
        break;
    case FileKind::Orv:
        HidePage(1);
        if (!skipTo(2))
            return false;
        break;
    case FileKind::Picture:
        if (!work_.loadSourcePicture(*this))
            return false;
        HidePage(1);
        ShowPage(8);
        break;
    }
    if (ui_.Check9->isChecked())
        RememberFile(kSourceList);
    return true;
}

bool Form1::nextFromExtraction()
{
    if (!work_.extractPicture(*this))
        return false;
    ui_.OptionButton12->setEnabled(true);
    if (ui_.Check12->isChecked()) {
        rules_->copyExtractionChoices();
        controlSettings_->store(settings_, {key::PicTypeA, key::IcognitoA, key::ShinyA, key::PokeIndexA,
                                            key::IcognitoIndexA, key::TrainerA, key::TrainerIndexA});
    }
    HidePage(2);
    ShowPage(11);
    return true;
}

bool Form1::nextFromPreview()
{
    writeSetting(settings_, key::BigPreview, QString::number(state_.PreviewFlags & kPreviewBig));
    HidePage(3);
    ShowPage(4);
    return true;
}

bool Form1::nextFromTarget()
{
    const QString path = ui_.Combo2->currentText();
    state_.TargetPath = path.toStdString();
    state_.TargetKind = ClassifyPath(state_.TargetPath);
    if (!work_.prepareTarget(*this))
        return false;
    HidePage(4);
    ShowPage(state_.TargetKind == FileKind::Rom ? 5 : 7);
    if (ui_.Check10->isChecked())
        RememberFile(kTargetList);
    return true;
}

bool Form1::nextFromOffset()
{
    controlSettings_->store(settings_, {key::IsPokeB, key::SaveName});
    HidePage(5);
    if (ui_.Check4->isChecked()) {
        ShowPage(6);
        return true;
    }
    return skipTo(9);
}

bool Form1::nextFromSlot()
{
    if (!work_.checkSlotShape(*this))
        return false;
    if (ui_.Check11->isChecked() && !ui_.Check8->isChecked()) {
        if (!work_.prepareNames(*this))
            return false;
        HidePage(6);
        ShowPage(9);
        return true;
    }
    HidePage(6);
    return skipTo(9);
}

bool Form1::nextFromSuccess()
{
    ui_.Text10->clear();
    HidePage(7);
    ShowPage(1);
    return true;
}

bool Form1::nextFromColours()
{
    if (!work_.applyColourMapping(*this))
        return false;
    writeSetting(settings_, key::ColorOverride, QString::number(ui_.Combo5->currentIndex()));
    rules_->setPage11ChoicesForPicture();
    HidePage(8);
    ShowPage(11);
    return true;
}

bool Form1::nextFromInsertion()
{
    if (!work_.insertIntoRom(*this))
        return false;
    if (ui_.Check4->isChecked()) {
        controlSettings_->store(settings_, {key::IcognitoB, key::DeleteB, key::PokeIndexB, key::IcognitoIndexB,
                                            key::TrainerB, key::TrainerIndexB});
        HidePage(9);
    }
    ShowPage(7);
    return true;
}

bool Form1::nextFromRomChoice()
{
    controlSettings_->store(settings_,
                            {key::ExtractPokePic, key::SpecifySize, key::LastExOffset, key::SpecX, key::SpecY});
    const bool pointerTables = ui_.Check12->isChecked();
    rules_->setPage11ChoicesForRom(pointerTables);
    HidePage(10);
    if (!pointerTables)
        return skipTo(2);
    ShowPage(2);
    return true;
}

bool Form1::nextFromCompression()
{
    if (!work_.compressPicture(*this))
        return false;
    state_.PreviewFlags = WithSizeFlags(state_.PreviewFlags, state_.Picture.width, state_.Picture.height);
    controlSettings_->store(settings_, {key::IsHorizontal, key::ReCodeStyle, key::SwitchBW, key::SwitchDL});
    HidePage(11);
    ShowPage(3);
    return true;
}

void Form1::BackClicked()
{
    const int page = state_.CurrentPage;
    const auto turn = [this, page](int to) {
        HidePage(page);
        ShowPage(to);
    };
    switch (page) {
    case 2: turn(10); break;
    case 3: turn(11); break;
    case 4: turn(3); break;
    case 5: turn(4); break;
    case 6: turn(5); break;
    case 8: turn(1); break;
    case 9: turn(6); break;
    case 10: turn(1); break;
    case 11:
        switch (state_.SourceKind) {
        case FileKind::Picture: turn(8); break;
        case FileKind::Rom: turn(ui_.Check12->isChecked() ? 2 : 10); break;
        case FileKind::Orv: turn(1); break;
        }
        break;
    default: break;
    }
    ui_.Command2->setFocus();
}

} // namespace orv
