#include "workflow/ResultRowMaker.h"

#include "engine/FileDetails.h"
#include "platform/CodePage.h"
#include "workflow/SizeText.h"

namespace velmaro {

namespace {

QString displayText(std::string_view bytes) {
    return QString::fromStdU16String(platform::CodePage::system().toUtf16(bytes));
}

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ResultRowMaker::ResultRowMaker(const QLocale& Locale) : m_dates(Locale) {}

ResultRow ResultRowMaker::make(const TFileDetails& File) {
    if (m_folderText.isNull() || File.Location != m_folder) {
        m_folder = File.Location;
        m_folderText = displayText(File.Location);
    }
    return {bytesOf(File.Location), bytesOf(File.Name), File.Size, File.Identity,
            QStringList{displayText(File.Name), m_folderText,
                        SizeToText(static_cast<double>(File.Size)),
                        m_dates.dateTime(File.CreatedTime)}};
}

} // namespace velmaro
