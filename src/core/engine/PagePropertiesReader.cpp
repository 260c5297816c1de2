#include "core/engine/PagePropertiesReader.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <QVariantMap>

#include <cmath>

namespace
{
// The script's numbers arrive as doubles; anything not a finite whole
// number of a sane size counts as absent.
qint64 wholeNumber(const QVariant& value, qint64 absent = -1)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < 0 || number > 9.0e15)
        return absent;
    return static_cast<qint64>(number);
}

void fillFromScript(PageProperties& properties, const QVariantMap& answer)
{
    properties.mimeType = answer.value(QStringLiteral("type")).toString().trimmed();
    const qint64 body = wholeNumber(answer.value(QStringLiteral("body")));
    const qint64 serialized = wholeNumber(answer.value(QStringLiteral("serialized")));
    // A document that came without a body of its own (a blank page, one
    // written by the program) is as large as its text.
    properties.size = body > 0 ? body : serialized;

    const qint64 modified = wholeNumber(answer.value(QStringLiteral("modified")));
    const qint64 now = wholeNumber(answer.value(QStringLiteral("now")));
    const bool isClock =
        now >= 0 && modified <= now && now - modified < PagePropertiesReader::UnknownDateWindowMs;
    if (modified >= 0 && !isClock)
        properties.modified = QDateTime::fromMSecsSinceEpoch(modified);
}

void fillFromFile(PageProperties& properties, const QUrl& address)
{
    const QFileInfo file(address.toLocalFile());
    if (!file.isFile())
        return;
    properties.size = file.size();
    properties.modified = file.lastModified();
    if (properties.mimeType.isEmpty())
        properties.mimeType = QMimeDatabase().mimeTypeForFile(file).name();
}
} // namespace

QString PagePropertiesReader::script()
{
    return QStringLiteral(R"((function () {
  var r = { type: '', body: -1, serialized: -1, modified: -1, now: Date.now() };
  try { r.type = String(document.contentType || ''); } catch (e) {}
  try {
    var nav = performance.getEntriesByType('navigation');
    if (nav.length && typeof nav[0].decodedBodySize === 'number')
      r.body = nav[0].decodedBodySize;
  } catch (e) {}
  if (!(r.body > 0)) {
    try {
      var text = document.documentElement ? document.documentElement.outerHTML : '';
      if (document.doctype)
        text = new XMLSerializer().serializeToString(document.doctype) + text;
      r.serialized = new Blob([text]).size;
    } catch (e) {}
  }
  try {
    var m = Date.parse(document.lastModified);
    if (!isNaN(m)) r.modified = m;
  } catch (e) {}
  return r;
})())");
}

PageProperties PagePropertiesReader::fromScriptResult(const QString& title, const QString& url,
                                                      const QVariant& scriptResult)
{
    PageProperties properties;
    properties.title = title;
    properties.url = url;
    if (scriptResult.typeId() == QMetaType::QVariantMap)
        fillFromScript(properties, scriptResult.toMap());
    const QUrl address(url);
    if (address.isLocalFile())
        fillFromFile(properties, address);
    return properties;
}
