#include "link/LinkState.h"

bool openLink() { return ReceiverLink::instance().openLink(); }
void closeLink() { ReceiverLink::instance().closeLink(); }
bool negotiateLink() { return ReceiverLink::instance().negotiateLink(); }
PortCtl *linkPort() { return ReceiverLink::instance().Port1; }
void waitForLinkActivity() { ReceiverLink::instance().waitForLinkActivity(); }
bool linkWaitOver() { return ReceiverLink::instance().linkWaitOver(); }
void startLinkTimeout(int designedMs) { ReceiverLink::instance().startLinkTimeout(designedMs); }
void setLinkTimeScale(double scale) { ReceiverLink::setTimeScale(scale); }
int scaledLinkTime(int designedMs) { return ReceiverLink::scaledTime(designedMs); }
