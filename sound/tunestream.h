#pragma once

#include <QIODevice>

#include <memory>

class TuneRendering;

// A rendered tune read from its beginning by the audio sink. It keeps pace with a rendering still
// in progress: what is not rendered yet reads as nothing for now, not as the end.
class TuneStream : public QIODevice
{
    Q_OBJECT
public:
    explicit TuneStream(std::shared_ptr<const TuneRendering> rendering, QObject *parent = nullptr);

    // Bytes handed out so far: where the tune stands, less what the sound server still holds.
    qint64 offset() const { return m_offset; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool atEnd() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    std::shared_ptr<const TuneRendering> m_rendering;
    qint64 m_offset = 0;
};
