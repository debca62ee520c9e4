#include "seatunescore.h"

#include <QByteArray>

namespace {
// Six bars shared by every verse, then the seventh bar either turns to the dominant
// or closes on the tonic, and the eighth leads on to what follows.
const char *const verse = "D5:2 A4:1 A4:2 F4:1 | D4:2 F4:1 A4:3 | G4:2 E4:1 C4:2 E4:1 |"
                          "G4:1 A4:1 G4:1 E4:3 | D5:2 A4:1 A4:2 F4:1 | F4:1 G4:1 A4:1 Bb4:2 A4:1 |";
const char *const turnToDominant = "G4:2 E4:1 A4:2 C#5:1 | A4:3 A4:1 B4:1 C#5:1";
const char *const closeIntoBridge = "G4:2 E4:1 A4:2 C#4:1 | D4:3 A4:1 Bb4:1 B4:1";
const char *const closeIntoCoda = "G4:2 E4:1 A4:2 C#4:1 | D4:3 A4:1 B4:1 C#5:1";

const char *const bridge = "C5:2 A4:1 F4:2 A4:1 | G4:2 C5:1 E5:3 | D5:2 F5:1 D5:2 A4:1 |"
                           "C#5:3 A4:3 | F5:2 E5:1 D5:2 C5:1 | E5:2 D5:1 C5:2 G4:1 |"
                           "D5:2 Bb4:1 A4:2 C#5:1 | D5:3 A4:1 B4:1 C#5:1";
const char *const coda = "D5:2 Bb4:1 F4:3 | E4:2 G4:1 C5:3 | C#5:3 E5:3 | D5:5 r:1";
const char *const introPickup = "r:6 | r:6 | r:6 | r:3 A4:1 B4:1 C#5:1";

TuneSection section(TuneSection::Kind kind, int firstBar, const QByteArray &melody,
                    const char *chords)
{
    const auto bars = QByteArray(chords).simplified().count(' ') + 1;
    return {kind, firstBar, int(bars), ScoreNotation::melody(melody.constData()),
            ScoreNotation::chords(chords, SeaTuneScore::eighthsPerBar)};
}
} // namespace

QList<TuneSection> SeaTuneScore::sections()
{
    const QByteArray verseHead(verse);
    return {
        section(TuneSection::Intro, 0, introPickup, "Dm Dm C A"),
        section(TuneSection::VerseOpen, 4, verseHead + turnToDominant, "Dm Dm C C Dm Bb C,A A"),
        section(TuneSection::VerseClosed, 12, verseHead + closeIntoBridge,
                "Dm Dm C C Dm Bb C,A Dm"),
        section(TuneSection::Bridge, 20, bridge, "F C Dm A F C Bb,A Dm,A"),
        section(TuneSection::VerseFull, 28, verseHead + closeIntoCoda, "Dm Dm C C Dm Bb C,A Dm,A"),
        section(TuneSection::Coda, 36, coda, "Bb C A Dm"),
    };
}
