// Message codes sent by KSBroadcaster::BroadcastMsg to KSListener::ListenToMsg.
//
// Each code is a four-character code. The two parameters are borrowed for the
// duration of the call; what they point to is noted beside each code.
#pragma once

#include "foundation/KSTypes.h"

// Every broadcaster, while it is being destroyed.
// inParam1: null; inParam2: the dying KSBroadcaster.
constexpr long kKSMsg_Die = KSFourCC("_die");

// Same-machine service registry: a local service appeared / disappeared.
// inParam1: the service name (const char*); inParam2: 1 while more messages of
// the same scan follow, else 0.
constexpr long kKSMsg_ServiceAdded = KSFourCC("SAdd");
constexpr long kKSMsg_ServiceRemoved = KSFourCC("SRem");

// Service browser: its list of discovered services changed.
// inParam1: the browser; inParam2: null.
constexpr long kKSMsg_ServiceListChanged = KSFourCC("SLCh");

// Service browser: a resolve of a listed service ended.
// inParam1: the browser; inParam2: the service name (const char*).
constexpr long kKSMsg_ServiceResolved = KSFourCC("SRes");

// Service resolver: a resolve request completed.
// inParam1: the resolver; inParam2: null.
constexpr long kKSMsg_ResolveComplete = KSFourCC("SRCp");

// Engine link: its list of engine services changed. Both parameters null.
constexpr long kKSMsg_ServicesChanged = KSFourCC("SChg");

// Engine link session news. inParam1: the current service name (UtilStr*);
// inParam2: the host name (UtilStr*) or null.
constexpr long kKSMsg_SessionOpened = KSFourCC("NSes");
constexpr long kKSMsg_SessionClosed = KSFourCC("CSes");
// No session could be opened after two attempts.
constexpr long kKSMsg_SessionFailed = KSFourCC("FSes");
// The engine closed the session less than 4 seconds after it opened.
constexpr long kKSMsg_SessionRefused = KSFourCC("RSes");

// Theme manager: the current theme became a custom one.
// inParam1: the theme manager; inParam2: null.
constexpr long kKSMsg_ThemeCustom = KSFourCC("Cust");

// List view: one item's check mark changed / all items' check marks changed.
// inParam1: the list view; inParam2: depends on the list view.
constexpr long kKSMsg_ItemCheckChanged = KSFourCC("lbCh");
constexpr long kKSMsg_AllChecksChanged = KSFourCC("AllC");
