#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class QWidget;

namespace quilo {

// One language's dialog texts: "[String]" entries "IDD<template>_title" and
// "IDD<template>_<control>", looked up when a window is labelled. Every control
// with a text carries its id as the property "ctrlId"; a window built from a
// template carries the property "templateId".
class LanguageTable {
public:
    // The embedded table of language 0 (Chinese) or 1 (English).
    bool load(int language);
    // An INI text: "[section]" lines, "//" or ";" comments, key=text entries.
    // Only section "String" counts; the first of duplicate keys wins.
    bool loadFromBytes(const QByteArray& ini);
    bool isLoaded() const { return m_loaded; }
    int size() const { return static_cast<int>(m_entries.size()); }

    // The text of a key, empty when there is none.
    QString lookup(const QString& key) const;
    QString title(int templateId) const;
    QString text(int templateId, int ctrlId) const;

    // Sets the window's title and the texts of its controls from the table.
    // Empty or missing entries leave the text as it is. Controls inside a
    // nested window with its own template are left to that window.
    void applyTable(QWidget* window, int templateId) const;

    static QString resourcePath(int language);

private:
    QHash<QString, QString> m_entries;
    bool m_loaded = false;
};

// Sets the text of a labelled control: buttons and labels their text, group
// boxes their title, anything else its "text" property when it has one.
void setControlText(QWidget* control, const QString& text);

} // namespace quilo
