#pragma once
// The maker's details shown by the About box and the tip, and the three pages of the maker's
// web site that the Help menu opens in the desktop's browser.

#include <QString>

inline const QString kMakerCompany = QStringLiteral("Brennick, Inc.");
inline const QString kMakerTown = QStringLiteral("Anytown, USA");
inline const QString kMakerTelephone = QStringLiteral("Telephone (555) 555-0142");
inline const QString kMakerWebText = QStringLiteral("www.example.com");
inline const QString kMakerLegalNotice =
    QStringLiteral("Copyright (C) 2026 Brennick, Inc.  All rights reserved.");

// The web site's base address; every page address is this followed by the page name.
inline const QString kMakerWebSite = QStringLiteral("https://www.example.com/");
inline const QString kHomePage = QStringLiteral("index.html");
inline const QString kDatabaseUpdatePage = QStringLiteral("weather1.html");
inline const QString kManualsPage = QStringLiteral("manuals.html");

QString webPageAddress(const QString &page);

// Starts the desktop's browser with the address; true when it could be started.
bool openWebPage(const QString &address);

// The Help menu's web pages: opens the page, and shows error #500 when no browser starts.
void showWebPage(const QString &page);
