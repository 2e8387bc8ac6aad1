// TEMPORARY: the sync helper's branch replaces this file
#include "toolbar/cAppWin.h"

void cAppWin::RefreshState(ToolbarEnabledState) {}
void cAppWin::onPeerListChange() {}
void cAppWin::OnKSMPReply(const char*, eRequestType, void*) {}
void cAppWin::OnKSMPNotify(long, const char*, const char*) {}
void cAppWin::ListenToMsg(long, void*, void*) {}
void cAppWin::PumpEngineEvents() {}
void cAppWin::SendCommand(const char*) {}
void cAppWin::SendQuery(const char*, cWindow*, eRequestType, long, unsigned char) {}
