#include "sound/tunestream.h"

#include "sound/tunerendering.h"

TuneStream::TuneStream(std::shared_ptr<const TuneRendering> rendering, QObject *parent)
    : QIODevice(parent), m_rendering(std::move(rendering))
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 TuneStream::bytesAvailable() const
{
    return m_rendering->renderedBytes() - m_offset + QIODevice::bytesAvailable();
}

bool TuneStream::atEnd() const
{
    return m_rendering->isFinished() && m_offset >= m_rendering->renderedBytes();
}

qint64 TuneStream::readData(char *data, qint64 maxSize)
{
    // Whole frames only, so that the left and right channels never swap.
    const qint64 wanted = maxSize - maxSize % TuneRendering::BytesPerFrame;
    const qint64 count = m_rendering->read(m_offset, data, wanted);
    m_offset += count;
    return count;
}

qint64 TuneStream::writeData(const char *, qint64)
{
    return -1;
}
