#include "diagnostics/WebLinks.h"

#include "core/MessageCatalogue.h"
#include "core/Platform.h"

#include <QUrl>

QString webPageAddress(const QString &page)
{
    return kMakerWebSite + page;
}

bool openWebPage(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && Platform::openUrl(url);
}

void showWebPage(const QString &page)
{
    if (!openWebPage(webPageAddress(page)))
        showErrorMessage(50);
}
