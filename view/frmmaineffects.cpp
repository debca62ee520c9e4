// What frmMain does for the game: pictures, sounds, timers, messages and the results.
#include "view/frmmain.h"

#include "model/mediafile.h"
#include "results/resultsstore.h"
#include "sound/soundservice.h"
#include "view/accessiblenames.h"
#include "view/boombox.h"
#include "view/cellview.h"
#include "view/explosion.h"
#include "view/mediafiles.h"
#include "view/modship.h"
#include "view/pictureholder.h"
#include "view/scorepanel.h"

#include "view/prompter.h"
#include <QLabel>
#include <QPushButton>

#include <QTimer>

void frmMain::cellChanged(int index, Aspect aspect)
{
    const Board &board = m_game.board();
    CellView *cell = pic[index];
    if (aspect == Aspect::Frame) {
        cell->setFrame(board.hasFrame(index));
        return;
    }
    if (aspect == Aspect::State) {
        cell->setAccessibleName(AccessibleNames::cell(index, board.state(index)));
        return;
    }
    const CellPicture picture = board.picture(index);
    switch (picture.kind) {
    case CellPicture::Kind::None:
        cell->setPicture(QPixmap());
        break;
    case CellPicture::Kind::MissMark: {
        const QPixmap mark = MediaFiles::readPixmap(QStringLiteral("XField.bmp"));
        cell->setPicture(mark.isNull() ? QPixmap::fromImage(MediaFiles::builtInMissMark()) : mark);
        break;
    }
    case CellPicture::Kind::ShipPiece:
        modShip::LoadShipPart(picture.piece, picture.size, picture.orientation, *Picture1);
        cell->setPicture(QPixmap::fromImage(Picture1->picture()));
        break;
    }
}

void frmMain::startHitSound()
{
    m_sound.startHitSound(MediaFile::path(QStringLiteral("Boom.wav")));
}

void frmMain::stopHitSound()
{
    m_sound.stopHitSound();
}

void frmMain::startBoomTimer()
{
    intBoomStep = 0;
    tmrBoom->start();
}

void frmMain::setComputerTimer(bool on)
{
    if (on)
        tmrI->start();
    else
        tmrI->stop();
}

void frmMain::showMessage(const QString &text)
{
    m_prompter.inform(this, text);
}

void frmMain::clearHitMarkers()
{
    for (BoomBox *box : picBoom) {
        box->hide();
        box->setCell(-1);
        box->setPicture(QImage());
    }
}

void frmMain::DrawBoom(int cellIndex)
{
    // A game has at most 39 hits; were the boxes ever exhausted, the game goes on
    // without a marker.
    if (intBoomNext >= 0 && intBoomNext < int(picBoom.size())) {
        BoomBox *box = picBoom[intBoomNext];
        box->move(pic[cellIndex]->pos());
        box->setCell(cellIndex);
        box->raise();
        box->clear();
        box->refresh();
        box->show();
        drawExplosion(*box, m_random);
        const QImage picture = MediaFiles::readImage(QStringLiteral("picBoom.bmp"));
        if (!picture.isNull())
            box->setPicture(picture);
    }
    ++intBoomNext;
}

void frmMain::SaveDB(const QString &strWin)
{
    const int level = m_game.intLevel();
    const QString levelCaption = level >= 1 && level <= 3 ? rbL[level - 1]->text() : QString();
    // A row that cannot be stored is reported by the store; the game ends as usual.
    m_store->append(strWin, Frame1->lblU->text(), Frame1->lblC->text(), levelCaption);
}
