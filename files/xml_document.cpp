// Loading and saving whole documents: the file side of CXml.
#include <cstring>
#include <memory>
#include <new>

#include "debug/debug_output.h"
#include "files/code_page.h"
#include "files/file.h"
#include "files/safe_save.h"
#include "files/xml_document.h"

bool CXml::LoadDocument(const CString& path, const XmlConsumer& consumer) {
  code_page = kCodePageUtf8;
  std::unique_ptr<char[]> image;
  int32_t size = 0;
  {
    CFile file;
    if (!file.OpenRead(path)) return false;
    if (file.size == 0) return false;
    if (file.size > static_cast<uint64_t>(kXmlMaxFileSize)) {
      DebugPrint(L"CXml::LoadDocument() file too large\n");
      return false;
    }
    size = static_cast<int32_t>(file.size);
    image.reset(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (image == nullptr) return false;
    if (file.Read(image.get(), static_cast<uint32_t>(size), 0) != static_cast<uint32_t>(size)) {
      return false;
    }
  }
  XmlNode* first = ParseDocument(image.get(), size);
  if (first == nullptr) return false;
  if (consumer) consumer(first);
  FreeTree(first);
  return true;
}

bool CXml::SaveDocument(const CString& path, const XmlBuilder& builder) {
  code_page = kCodePageUtf8;
  XmlNode* holder = CreateElement(L"root", nullptr);
  if (holder == nullptr) return false;
  if (builder) builder(holder);
  bool saved = false;
  if (holder->child != nullptr) {
    std::unique_ptr<char[]> text(WriteDocument(holder->child));
    if (text != nullptr && path.data != nullptr && path.length > 0) {
      saved = SaveFileSafely(path, text.get(), static_cast<uint32_t>(std::strlen(text.get())));
    }
  }
  FreeTree(holder);
  return saved;
}
