// What frmMain does for the game: pictures, sounds, timers, messages and the results.
#include "view/frmmain.h"

#include "model/installfolder.h"
#include "results/resultskeeper.h"
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
        QImage mark = MediaFiles::readImage(QStringLiteral("XField.bmp"));
        cell->setPicture(QPixmap::fromImage(mark.isNull() ? MediaFiles::builtInMissMark() : mark));
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
    m_sound.startHitSound(InstallFolder::file(QStringLiteral("Boom.wav")));
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
    // A result that could not be saved is told after the game's own message.
    if (!m_resultsNotice.isEmpty())
        m_prompter.inform(this, std::exchange(m_resultsNotice, QString()));
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
    // A row the store refuses now is kept and tried again; the game ends as usual and
    // the player learns why at its end message.
    m_resultsNotice
        = m_keeper->save({strWin, Frame1->lblU->text(), Frame1->lblC->text(), levelCaption});
}
