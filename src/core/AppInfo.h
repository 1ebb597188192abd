#pragma once
// Product identity and the fixed lists every run starts from.

#include <QString>
#include <QStringList>

namespace tarvix {

constexpr int kVersionNumber = 270;

// "270" -> "2.7", "271" -> "2.7.1".
QString VersionText(int number = kVersionNumber);
// "Orvella DDS to JPG" + " " + version text.
QString AppTitle();
QString ProductName();
// One line naming the maker and the years; the default watermark text.
QString ProductNotice();
// The maker's web site; TARVIX_WEB_SITE replaces it (tests point it elsewhere).
QString WebSite();
// The product page printed in the banner.
QString ProductPage();
QString SupportEmail();

// The formats the product offers: exactly one input and one output extension.
const QStringList& InputExtensions();
const QStringList& OutputExtensions();

} // namespace tarvix
