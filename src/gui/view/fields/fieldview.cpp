#include "view/fields/fieldview.h"

#include "view/fields/cellview.h"
#include "view/fields/picturefiles.h"
#include "view/fields/storedpicture.h"
#include "view/look.h"
#include "view/windowlayout.h"

#include <QLabel>

namespace {
// Piece `piece` (1 = the top or left end) of "Ship<size><orientation>.bmp", a strip of
// `size` equal squares read anew for every piece; null when the file cannot be used.
QImage readShipPiece(const CellPicture &picture)
{
    const QString fileName
        = QStringLiteral("Ship%1%2.bmp").arg(picture.size).arg(picture.orientation);
    const QImage strip = PictureFiles::readImage(fileName);
    if (strip.isNull())
        return {};
    const bool across = picture.orientation == Orientation::Horizontal;
    const int width = strip.width() / (across ? picture.size : 1);
    const int height = strip.height() / (across ? 1 : picture.size);
    if (width < 1 || height < 1) {
        PictureFiles::warnOnce(
            fileName, QStringLiteral("it is too small to hold %1 pieces").arg(picture.size));
        return {};
    }
    const int offset = picture.piece - 1;
    return strip.copy(across ? offset * width : 0, across ? 0 : offset * height, width, height);
}
} // namespace

FieldView::FieldView(QWidget *window, Board &board) : QObject(window), m_board(board)
{
    setObjectName(QStringLiteral("fields"));
    const char *const frameNames[]
        = {QT_TR_NOOP("Рамка вашего поля"), QT_TR_NOOP("Рамка поля противника")};
    for (int k = 0; k < 2; ++k) {
        m_frames[k] = new StoredPicture(QStringLiteral("imgBack%1").arg(k + 1),
                                        QStringLiteral(":/fieldframe.png"), window);
        WindowLayout::place(m_frames[k]);
        m_frames[k]->setAccessibleName(tr(frameNames[k]));
    }
    for (int i = 0; i < Board::CellCount; ++i) {
        auto *cell = new CellView(i, window);
        cell->setGeometry(WindowLayout::cell(i));
        connect(cell, &CellView::pressed, this, &FieldView::pressed);
        connect(cell, &CellView::moved, this, &FieldView::moved);
        m_cells[i] = cell;
    }
    // The first ten letters of the alphabet (the Russian one without "Й").
    const QString letters = tr("АБВГДЕЖЗИК");
    const QFont font = Look::serif(27, true, true);
    for (int k = 0; k < int(m_labels.size()); ++k) {
        const QString caption = k < 20 ? QString::number(k % 10 + 1) : letters.mid(k % 10, 1);
        auto *label = new QLabel(caption, window);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        label->setFont(font);
        label->setAlignment(k < 20 ? Qt::AlignLeft | Qt::AlignTop
                                   : Qt::AlignHCenter | Qt::AlignTop);
        Look::paintText(label, Look::LabelOrange);
        label->setGeometry(WindowLayout::coordinateLabel(k));
        m_labels[k] = label;
    }
    m_shipPiece = new QLabel(window);
    m_shipPiece->setObjectName(QStringLiteral("Picture1"));
    WindowLayout::place(m_shipPiece);
    m_shipPiece->setAccessibleName(tr("Часть корабля"));
    m_shipPiece->hide();
    // The cells follow the board from here on.
    m_board.setObserver(this);
}

FieldView::~FieldView()
{
    m_board.setObserver(nullptr);
}

void FieldView::showCoordinates(bool on)
{
    for (QLabel *label : m_labels)
        label->setVisible(on);
}

void FieldView::showFrames(bool on)
{
    for (StoredPicture *frame : m_frames)
        frame->setVisible(on);
}

void FieldView::cellChanged(int index, Aspect aspect)
{
    CellView *cell = m_cells[index];
    if (aspect == Aspect::Frame) {
        cell->setFrame(m_board.hasFrame(index));
        return;
    }
    if (aspect == Aspect::State)
        return; // named by the spoken layer
    const CellPicture picture = m_board.picture(index);
    switch (picture.kind) {
    case CellPicture::Kind::None:
        cell->setPicture(QPixmap());
        break;
    case CellPicture::Kind::MissMark: {
        const QPixmap mark = PictureFiles::readPixmap(QStringLiteral("XField.bmp"));
        cell->setPicture(mark.isNull() ? QPixmap::fromImage(PictureFiles::builtInMissMark())
                                       : mark);
        break;
    }
    case CellPicture::Kind::ShipPiece: {
        // Picture1 keeps the last piece read; an unreadable bitmap leaves that piece here.
        const QImage piece = readShipPiece(picture);
        if (!piece.isNull())
            m_shipPiece->setPixmap(QPixmap::fromImage(piece));
        cell->setPicture(m_shipPiece->pixmap());
        break;
    }
    }
}

QWidget *FieldView::cell(int index) const
{
    return m_cells[index];
}
