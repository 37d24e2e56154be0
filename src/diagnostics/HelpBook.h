#pragma once
// The help book: a Qt help file (compiled at build time from the HTML pages in Help/) in
// the folder Help beside the program, and the two ways the program opens it.

#include <QString>
#include <QUrl>

inline const QString kHelpFileName = QStringLiteral("orvane.qch");
// The namespace and folder the help project gives its pages.
inline const QString kHelpNamespace = QStringLiteral("com.example.orvane.editor");
inline const QString kHelpFolder = QStringLiteral("doc");
inline const QString kHelpContentsPage = QStringLiteral("index.html");

// The program's folder, then "/Help/", then the help file's name.
QString helpFilePath();

// The address of a page of the help book, for instance "index.html".
QUrl helpPageUrl(const QString &page);

// "&Help Contents" and "Display Help": the help file at its contents page.
void showHelpContents();
// "&Search For Help On...": the help file's keyword search, with an empty keyword.
void showHelpSearch();

// The help engine needs a collection file and an index it can write; the help file beside
// the program may sit in a read-only folder. The collection therefore lives in the user's
// cache folder and is rebuilt whenever the help file is another one or has changed.
QString helpCollectionPath();

// Makes the collection at `collection` hold `helpFile` and nothing else; returns an empty
// text on success, else what went wrong. `rebuilt` tells whether it was made anew.
QString prepareHelpCollection(const QString &helpFile, const QString &collection, bool *rebuilt = nullptr);
