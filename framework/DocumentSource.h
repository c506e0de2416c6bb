#pragma once

#include <string>
#include <type_traits>
#include <typeinfo>

// What a document template opens: a file path, an object handed over in place of a path (a result
// table, a creation record, a source of an analysis), or nothing (a new, untitled document).
//
// An object keeps its exact type: a document asking for another type gets null and can refuse to
// open, where a bare pointer would be misread.
class DocumentSource {
public:
    static DocumentSource None() { return DocumentSource(); }
    static DocumentSource FromPath(std::string path);
    // The object must outlive the opening; whether the document keeps or takes it is the
    // document's own rule.
    template <class T> static DocumentSource FromObject(T* object);

    bool IsNone() const { return m_kind == Kind::kNone; }
    bool IsPath() const { return m_kind == Kind::kPath; }
    bool IsObject() const { return m_kind == Kind::kObject; }

    // Empty unless this is a path.
    const std::string& GetPath() const { return m_path; }

    // The object when it was given as a T (a const object only to a const T); null otherwise.
    template <class T> T* GetObject() const;

private:
    enum class Kind { kNone, kPath, kObject };

    DocumentSource() = default;

    Kind m_kind = Kind::kNone;
    std::string m_path;
    void* m_object = nullptr;
    const std::type_info* m_type = nullptr;
    bool m_const = false;
};

template <class T> DocumentSource DocumentSource::FromObject(T* object) {
    DocumentSource source;
    if (object == nullptr)
        return source;
    source.m_kind = Kind::kObject;
    source.m_object = const_cast<std::remove_const_t<T>*>(object);
    source.m_type = &typeid(T);
    source.m_const = std::is_const_v<T>;
    return source;
}

template <class T> T* DocumentSource::GetObject() const {
    if (m_kind != Kind::kObject || *m_type != typeid(T))
        return nullptr;
    if (m_const && !std::is_const_v<T>)
        return nullptr;
    return static_cast<T*>(m_object);
}
