#include "store/fieldwriter.h"

#include "convert/outputformat.h"

namespace quorvel {

QString numberFieldText(double value)
{
    return plainDigits(value).view();
}

void RecordWriter::separate()
{
    if (m_recordOpen)
        m_text += u',';
    m_recordOpen = true;
}

void RecordWriter::addText(QStringView text)
{
    separate();
    m_text += u'"';
    m_text += text;
    m_text += u'"';
}

void RecordWriter::addNumber(double value)
{
    separate();
    m_text += plainDigits(value).view();
}

void RecordWriter::endRecord()
{
    m_text += QLatin1String("\r\n");
    m_recordOpen = false;
}

} // namespace quorvel
