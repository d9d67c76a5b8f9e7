// Per-class message maps: a static table of message (or command id) ->
// member handler, declared beside the class, walked from the most derived
// class to its bases. No virtual function per message.
#pragma once
#include <windows.h>

class CWnd;

// Every handler has one shape, so a table needs no signature codes.
typedef LRESULT (CWnd::*MessageHandler)(WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;       // 0 ends the table
    UINT commandId;     // for WM_COMMAND entries: the command identifier, and
                        // above it a control's notification code (ON_CONTROL)
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
};

#define ON_MESSAGE(message, handler) \
    { message, 0, static_cast<MessageHandler>(handler) }
#define ON_COMMAND(commandId, handler) \
    { WM_COMMAND, commandId, static_cast<MessageHandler>(handler) }
// One notification of a control, such as an edit's EN_CHANGE.
#define ON_CONTROL(notifyCode, id, handler) \
    { WM_COMMAND, MAKELONG(id, notifyCode), static_cast<MessageHandler>(handler) }
#define END_MESSAGE_MAP { 0, 0, 0 }

// Inside a class: the class's table and the query that returns it.
#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const MessageMapEntry messageEntries[];    \
    const MessageMap* GetMessageMap() const override; \
public:                                               \
    static const MessageMap messageMap;

// Beside the table: ties it to its base class's table.
#define IMPLEMENT_MESSAGE_MAP(theClass, baseClass)                                   \
    const MessageMap theClass::messageMap = { &baseClass::messageMap,                \
                                              theClass::messageEntries };           \
    const MessageMap* theClass::GetMessageMap() const { return &messageMap; }
