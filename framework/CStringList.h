#pragma once
#include "CString.h"

struct __POSITION;
typedef __POSITION* POSITION;

// Doubly linked list of strings. A POSITION stays valid until its own entry
// is removed, whatever else is added or removed.
class CStringList {
public:
    explicit CStringList(int nBlockSize = 10);
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;
    ~CStringList();

    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    POSITION AddHead(const wchar_t* newElement);
    POSITION AddTail(const wchar_t* newElement);
    void RemoveAt(POSITION position);
    CString RemoveTail();
    void RemoveAll();

    POSITION GetHeadPosition() const;
    // Returns the entry at rPosition and moves rPosition to the next one (NULL after the tail).
    const CString& GetNext(POSITION& rPosition) const;
    const CString& GetAt(POSITION position) const;
    const CString& GetHead() const;
    const CString& GetTail() const;

private:
    struct Node;
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
};
