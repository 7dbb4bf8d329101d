#pragma once

#include "xml/DocumentHolder.h"
#include "xml/UIConfigKeys.h"
#include "xml/XmlNode.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QtGlobal>

class Prompter;
struct ControlSettings;

// Completion codes of the UI configuration load (reported through OnXMLLoadCompleat).
inline constexpr qint16 kUIConfigLoaded = 0;
inline constexpr qint16 kUIConfigBadStatus = -2007;    // status other than 200
inline constexpr qint16 kUIConfigNoSession = -100;     // session could not be opened
inline constexpr qint16 kUIConfigNoAddress = -101;     // address could not be opened
inline constexpr qint16 kUIConfigCannotCreate = -2008; // temporary file not created
inline constexpr qint16 kUIConfigWriteFailed = -2009;  // write to the temporary file failed
inline constexpr qint16 kUIConfigOtherFailure = -2010; // any other fetch failure (cut body, ...)
inline constexpr qint16 kUIConfigNotLoaded = -2011;    // the document did not load

struct UIConfigLoadResult {
    qint16 code = kUIConfigLoaded;
    bool continueLoad = false; // true only when the catalogue load should follow
};

// One list column as the document describes it.
struct ColumnSpec {
    QString title;
    Qt::Alignment align = Qt::AlignRight;
    int width = 0;
};

class DialogTexts;

// The UI configuration document: colours, columns, dialog texts, date format and new-folder
// name. Every read answers the key table's default when the document or the key is missing.
class UIConfig {
public:
    // The whole fetch and load named by `settings.UIConfigXML`; on success NEWFOLDERNAME,
    // DATEFORMAT and COMMSELFOLDERWIN go into `settings`. An empty UIConfigXML shows
    // "UI config XML not found." and ends the load with code 0.
    UIConfigLoadResult FetchAndLoad(ControlSettings& settings, Prompter& prompter);
    // Parses the downloaded file at `path` and deletes it. A missing or empty file loads as
    // an empty configuration and succeeds; a document that does not parse shows
    // "[UIConfig] load에러", keeps the previous document and returns false.
    bool Load(const QString& path, Prompter& prompter);
    bool isLoaded() const { return !holder_.document.isEmpty(); }

    // Attribute `attribute` of the first node the key names; empty when either is missing.
    QString GetValue(const QString& key, const QString& attribute = QStringLiteral("VALUE")) const;
    // Number of child elements of the node the key names; 0 when missing.
    int GetChildCount(const QString& key) const;
    // The index-th child element (from 0) of that node; empty when missing.
    XmlNode GetChild(const QString& key, int index) const;
    // The first node the key names; empty when missing or when no document is loaded.
    XmlNode Section(const QString& key) const { return Find(key); }

    QColor Color(const ColorKey& key) const;
    // A colour whose default the caller knows (the list background keys).
    QColor Color(const char* key, const QColor& fallback) const;
    // The columns under `key` (UIKey::LocalListColumns, UIKey::ServerListColumns) in order;
    // none when the key is missing.
    QList<ColumnSpec> Columns(const char* key) const;
    // The texts of one dialog section (UIDialog::UploadWin, ...).
    DialogTexts Dialog(const char* section) const;

    // NEWFOLDERNAME, DATEFORMAT and COMMSELFOLDERWIN into `settings`.
    void ApplyToSettings(ControlSettings& settings) const;

private:
    XmlNode Find(const QString& key) const;

    DocumentHolder holder_;
};

// The labels of one dialog, read as "<section><label>" with attribute "VALUE"; empty when
// absent. Valid while its UIConfig lives.
class DialogTexts {
public:
    DialogTexts(const UIConfig& config, QString section)
        : config_(&config), section_(std::move(section)) {}
    QString text(const QString& label) const;

private:
    const UIConfig* config_;
    QString section_;
};
