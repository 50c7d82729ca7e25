#include "CStringList.h"

struct CStringList::Node {
    CString data;
    Node* pPrev;
    Node* pNext;
};


CStringList::CStringList(int) {}

CStringList::~CStringList() { RemoveAll(); }

POSITION CStringList::AddHead(const wchar_t* newElement)
{
    Node* pNode = new Node{CString(newElement), nullptr, m_pHead};
    if (m_pHead) m_pHead->pPrev = pNode; else m_pTail = pNode;
    m_pHead = pNode;
    ++m_nCount;
    return reinterpret_cast<POSITION>(pNode);
}

POSITION CStringList::AddTail(const wchar_t* newElement)
{
    Node* pNode = new Node{CString(newElement), m_pTail, nullptr};
    if (m_pTail) m_pTail->pNext = pNode; else m_pHead = pNode;
    m_pTail = pNode;
    ++m_nCount;
    return reinterpret_cast<POSITION>(pNode);
}

void CStringList::RemoveAt(POSITION position)
{
    Node* pNode = reinterpret_cast<Node*>(position);
    if (pNode->pPrev) pNode->pPrev->pNext = pNode->pNext; else m_pHead = pNode->pNext;
    if (pNode->pNext) pNode->pNext->pPrev = pNode->pPrev; else m_pTail = pNode->pPrev;
    delete pNode;
    --m_nCount;
}

CString CStringList::RemoveTail()
{
    CString tail = m_pTail->data;
    RemoveAt(reinterpret_cast<POSITION>(m_pTail));
    return tail;
}

void CStringList::RemoveAll()
{
    while (m_pHead) RemoveAt(reinterpret_cast<POSITION>(m_pHead));
}

POSITION CStringList::GetHeadPosition() const { return reinterpret_cast<POSITION>(m_pHead); }

const CString& CStringList::GetNext(POSITION& rPosition) const
{
    Node* pNode = reinterpret_cast<Node*>(rPosition);
    rPosition = reinterpret_cast<POSITION>(pNode->pNext);
    return pNode->data;
}

const CString& CStringList::GetAt(POSITION position) const { return reinterpret_cast<Node*>(position)->data; }
const CString& CStringList::GetHead() const { return m_pHead->data; }
const CString& CStringList::GetTail() const { return m_pTail->data; }
