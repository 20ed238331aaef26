#pragma once

// An opaque place in a CList; null past the end.
struct ListPosition;
typedef ListPosition* POSITION;

// A small doubly linked list walked by POSITION, as the service's key lists need it.
template <class TYPE, class ARG_TYPE>
class CList {
public:
    CList() = default;
    ~CList() { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    POSITION AddTail(ARG_TYPE value)
    {
        Node* n = new Node{m_tail, nullptr, value};
        if (m_tail) m_tail->next = n; else m_head = n;
        m_tail = n;
        ++m_count;
        return Pos(n);
    }
    POSITION AddHead(ARG_TYPE value)
    {
        Node* n = new Node{nullptr, m_head, value};
        if (m_head) m_head->prev = n; else m_tail = n;
        m_head = n;
        ++m_count;
        return Pos(n);
    }

    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }
    // The value at pos; pos moves to the next place.
    TYPE& GetNext(POSITION& pos) const
    {
        Node* n = NodeAt(pos);
        pos = Pos(n->next);
        return n->value;
    }
    TYPE& GetAt(POSITION pos) const { return NodeAt(pos)->value; }
    TYPE& GetHead() const { return m_head->value; }
    TYPE& GetTail() const { return m_tail->value; }

    void RemoveAt(POSITION pos)
    {
        Node* n = NodeAt(pos);
        if (n->prev) n->prev->next = n->next; else m_head = n->next;
        if (n->next) n->next->prev = n->prev; else m_tail = n->prev;
        delete n;
        --m_count;
    }
    TYPE RemoveHead()
    {
        TYPE v = m_head->value;
        RemoveAt(Pos(m_head));
        return v;
    }
    void RemoveAll()
    {
        while (m_head) {
            Node* next = m_head->next;
            delete m_head;
            m_head = next;
        }
        m_tail = nullptr;
        m_count = 0;
    }

private:
    struct Node {
        Node* prev;
        Node* next;
        TYPE value;
    };
    static POSITION Pos(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* NodeAt(POSITION p) { return reinterpret_cast<Node*>(p); }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
