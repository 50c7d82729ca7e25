#pragma once
#include "AfxWin.h"

class CCmdTarget;

// One row of a message map. WM_COMMAND rows name the notification code and
// the control id; other rows leave both 0.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    LRESULT (*pfn)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Looks a message up in a map and its bases; NULL when nothing handles it.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, WPARAM wParam);

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap();

    // Calls the handler bound to the message; FALSE when there is none.
    BOOL OnWndMsg(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

#define DECLARE_MESSAGE_MAP() \
public: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, nullptr} \
        }; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &messageMap; \
    }

#define AFX_THUNK(body) [](CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam) -> LRESULT { \
        (void)wParam; (void)lParam; ThisClass* pThis = static_cast<ThisClass*>(pTarget); body }

#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), AFX_THUNK(pThis->memberFxn(); return 0;)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, AFX_THUNK(return pThis->memberFxn(wParam, lParam);)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, AFX_THUNK(pThis->OnPaint(); return 0;)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, AFX_THUNK(pThis->OnDestroy(); return 0;)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AFX_THUNK(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AFX_THUNK(return reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon());)},
#define ON_WM_DROPFILES() \
    {WM_DROPFILES, 0, 0, AFX_THUNK(pThis->OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;)},
