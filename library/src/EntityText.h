// The text under an XML node with its entity references expanded, as
// libxml2's own lookup does, but within one budget of bytes and steps for the
// whole document: its lookup has none, so nested entities could expand a
// small file into gigabytes, or walk empty ones for ever. Text outside any
// entity is bounded by the file itself and costs nothing.
#pragma once

#include <libxml/entities.h>
#include <libxml/tree.h>

#include <string>
#include <string_view>

class EntityText {
public:
    EntityText(xmlDoc* doc, size_t budget) : m_doc(doc), m_budget(budget) {}

    // Appends the text of node and its siblings.
    void append(std::string& out, const xmlNode* node) { append(out, node, 0); }
    // Once the budget is spent the document is refused.
    bool exhausted() const { return m_exhausted; }

private:
    static constexpr int kMaxDepth = 40;

    static std::string_view contentOf(const xmlChar* content)
    {
        return content ? std::string_view(reinterpret_cast<const char*>(content)) : std::string_view();
    }

    void append(std::string& out, const xmlNode* node, int depth)
    {
        for (; node && !m_exhausted; node = node->next) {
            if (depth > 0 && !spend(1))
                return;
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                const std::string_view content = contentOf(node->content);
                if (depth > 0 && !spend(content.size()))
                    return;
                out.append(content);
            } else if (node->type == XML_ENTITY_REF_NODE) {
                const xmlEntity* entity = xmlGetDocEntity(m_doc, node->name);
                if (!entity)
                    continue;
                if (entity->etype == XML_INTERNAL_PREDEFINED_ENTITY) {
                    const std::string_view content = contentOf(entity->content);
                    if (spend(content.size()))
                        out.append(content);
                } else if (depth >= kMaxDepth) {
                    m_exhausted = true;
                } else {
                    append(out, entity->children, depth + 1);
                }
            }
        }
    }

    bool spend(size_t amount)
    {
        if (amount > m_budget) {
            m_exhausted = true;
            return false;
        }
        m_budget -= amount;
        return true;
    }

    xmlDoc* m_doc;
    size_t m_budget;
    bool m_exhausted = false;
};
