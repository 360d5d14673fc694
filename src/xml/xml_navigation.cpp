// Walking the element index by name, and reading attribute values and element text.
#include "xml/xml_document.h"
#include "xml/xml_entities.h"

namespace z4 {

void CXmlDocument::ResetPosition() {
  m_nParent = 0;
  m_nCurrent = 0;
  m_nChild = 0;
}

std::int32_t CXmlDocument::FindFrom(std::int32_t parent, std::int32_t after,
                                    std::u16string_view name) const {
  std::int32_t candidate = after != 0 ? Entry(after).next : Entry(parent).firstChild;
  if (name.empty()) return candidate;
  XmlCursor cursor{m_strText, 0, -1, 0, m_nDocFlags & kCursorIgnoreCase};
  for (; candidate != 0; candidate = Entry(candidate).next) {
    cursor.next = Entry(candidate).start + 1;
    NextName(cursor);
    if (NameMatches(cursor, name)) return candidate;
  }
  return 0;
}

bool CXmlDocument::FindElement(std::u16string_view name) {
  const std::int32_t found = FindFrom(m_nParent, m_nCurrent, name);
  if (found == 0) return false;
  m_nCurrent = found;
  m_nParent = Entry(found).parent;
  m_nChild = 0;
  return true;
}

bool CXmlDocument::FindChildElement(std::u16string_view name) {
  if (m_nCurrent == 0 && !FindElement()) return false;
  const std::int32_t found = FindFrom(m_nCurrent, m_nChild, name);
  if (found == 0) return false;
  m_nChild = found;
  m_nCurrent = Entry(found).parent;
  m_nParent = Entry(m_nCurrent).parent;
  return true;
}

bool CXmlDocument::EnterElement() {
  if (m_nCurrent == 0) return false;
  m_nParent = m_nCurrent;
  m_nCurrent = m_nChild;
  m_nChild = 0;
  return true;
}

std::u16string CXmlDocument::GetChildAttribute(std::u16string_view name) const {
  if (m_nChild == 0) return {};
  XmlCursor cursor{m_strText, 0, -1, Entry(m_nChild).start + 1, m_nDocFlags & kCursorIgnoreCase};
  if (!FindAttribute(cursor, name)) return {};
  return DecodeEntities(cursor.Name());
}

std::u16string CXmlDocument::GetChildText() const {
  if (m_nChild == 0) return {};
  const XmlElementEntry& e = Entry(m_nChild);
  const std::int32_t contentLength = e.length - e.StartTagLength() - e.EndTagLength();
  if (e.firstChild != 0 || e.EndTagLength() == 0 || contentLength <= 0) return {};
  const std::u16string_view content = std::u16string_view(m_strText).substr(
      static_cast<std::size_t>(e.start + e.StartTagLength()), static_cast<std::size_t>(contentLength));
  if (content.find(u'<') == std::u16string_view::npos) return DecodeEntities(content);

  std::u16string text;
  XmlCursor cursor{content, 0, -1, 0, 0};
  XmlNodeInfo node;
  for (std::int32_t type; (type = ScanNode(cursor, node)) != kNodeEndOfText;) {
    const auto piece = content.substr(static_cast<std::size_t>(node.start), static_cast<std::size_t>(node.length));
    if (type == kNodeText) {
      text += DecodeEntities(piece);
    } else if (type == kNodeCdata && piece.size() > 12) {
      text += piece.substr(9, piece.size() - 12);  // between "<![CDATA[" and "]]>"
    }
  }
  return text;
}

}  // namespace z4
