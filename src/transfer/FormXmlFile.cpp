#include "transfer/FormXmlFile.h"

#include "common/TextCodec.h"
#include "common/WorkingFolders.h"
#include "transfer/FormPostJob.h"
#include "xml/DocumentFetch.h"
#include "xml/XmlDocument.h"

#include <QFile>
#include <cstdio>

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

FormXmlFile Failed(const QString& failure) {
    FormXmlFile result;
    result.failure = failure;
    return result;
}

} // namespace

QString FormXmlText(const QStringList& names, const QStringList& values, const QString& charset) {
    XmlDocument document;
    if (document.parseText(QStringLiteral("<POSTFORM/>")) != XmlDocument::ParseStatus::Parsed)
        return {};
    XmlNode root = document.root();
    for (qsizetype i = 0; i < names.size(); ++i) {
        XmlNode field = root.appendChild(document.createElement(QStringLiteral("FIELD")));
        if (!field.setAttribute(QStringLiteral("name"), names[i]) ||
            !field.setAttribute(QStringLiteral("value"), values.value(i)))
            return {};
    }
    return "<?xml version=\"1.0\" encoding=\"" + charset + "\"?>\r\n" + root.xml();
}

FormXmlFile WriteFormXml(const QString& fileName, const QStringList& names,
                         const QStringList& values, const QString& charset) {
    if (DataFolder().isEmpty())
        return Failed(FormPostText::XmlNotWritten);
    const bool named = !fileName.isEmpty();
    const QString target = named && !fileName.contains('\\') ? DataFilePath(fileName) : QString();
    if (named && target.isEmpty())
        return Failed(FormPostText::XmlNotWritten + QStringLiteral(" ('") + fileName +
                      QStringLiteral("'은(는) 데이터 폴더 안의 파일 이름이 아닙니다.)"));
    const QString text = FormXmlText(names, values, charset);
    const QString temp = MakeTempPath();
    if (text.isEmpty() || temp.isEmpty() || !WriteBytes(temp, ToBytes(text, charset))) {
        if (!temp.isEmpty())
            QFile::remove(temp);
        return Failed(FormPostText::XmlNotWritten);
    }
    FormXmlFile result;
    result.path = temp;
    result.temporary = !named;
    if (!named)
        return result;
    // Renaming replaces whatever entry has the name, a link included, in one step.
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) !=
        0) {
        QFile::remove(temp);
        return Failed(FormPostText::XmlNotWritten);
    }
    result.path = target;
    return result;
}
