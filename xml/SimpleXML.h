#pragma once

// A small XML document model with its own printer and parser. It carries the
// blocks' parameter records and the flowchart files. Text is bytes (GBK for
// Chinese); nothing is converted or escaped on reading or writing. Callers
// escape free text themselves with EncodeEntities / DecodeEntities.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TSimpleXML;
class TSimpleXMLElem;
class TSimpleXMLElemClassic;
class TSimpleXMLReader;

// Raised by the parser; the message is one of the fixed parser texts.
class ESimpleXMLError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by ReadFile / WriteFile when a file cannot be opened or created.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Value readers shared by the child and attribute lists.
// Integer: leading blanks, optional sign, decimal digits or hex after $, x, X,
// 0x, 0X; anything else (trailing blanks, empty text, overflow) is not one.
std::optional<int64_t> SimpleXMLParseInt(std::string_view text);
// Boolean: a float-readable text is true when non-zero; else "True"/"False" in
// any letter case; any other text is false.
bool SimpleXMLParseBool(std::string_view text);
// Upper-cases ASCII letters; bytes of 0x80 and above stay as they are.
std::string SimpleXMLUpperName(std::string_view name);

std::string EncodeEntities(std::string_view text);
std::string DecodeEntities(std::string_view text);

class TSimpleXMLProp {
public:
    std::string Name;
    std::string Prefix;
    std::string Value;

    std::string FullName() const { return Prefix.empty() ? Name : Prefix + ":" + Name; }
};

// Ordered attributes of a node; duplicates allowed, lookups ignore letter case
// and answer the last of equal names.
class TSimpleXMLProps {
public:
    TSimpleXMLProp& AddText(const std::string& name, const std::string& value);
    TSimpleXMLProp& AddInt(const std::string& name, int64_t value);
    int Count() const { return static_cast<int>(Items.size()); }
    TSimpleXMLProp* At(int i) const;
    TSimpleXMLProp* FindNamed(std::string_view name) const;
    std::string TextOf(std::string_view name, const std::string& defaultValue) const;
    int64_t IntOf(std::string_view name, int64_t defaultValue) const;
    void Clear();

private:
    friend class TSimpleXMLElem;
    TSimpleXMLProp& Append(std::unique_ptr<TSimpleXMLProp> prop);
    std::vector<std::unique_ptr<TSimpleXMLProp>> Items;
};

// Ordered child nodes of an element with a name index (upper-cased names, last
// of equals wins) that follows Rename.
class TSimpleXMLElems {
public:
    explicit TSimpleXMLElems(TSimpleXMLElem* parent) : Parent(parent) {}
    ~TSimpleXMLElems();

    TSimpleXMLElemClassic& AddNamed(const std::string& name);
    TSimpleXMLElemClassic& AddText(const std::string& name, const std::string& text);
    TSimpleXMLElemClassic& AddInt(const std::string& name, int64_t value);
    TSimpleXMLElemClassic& AddBool(const std::string& name, bool value);
    // Appends a node of any kind, taking ownership; its ParentElem becomes the
    // list's owner.
    TSimpleXMLElem& Append(std::unique_ptr<TSimpleXMLElem> node);

    int Count() const { return static_cast<int>(Items.size()); }
    TSimpleXMLElem* At(int i) const;
    TSimpleXMLElemClassic* FindNamed(std::string_view name) const;
    std::string TextOf(std::string_view name, const std::string& defaultValue) const;
    int64_t IntOf(std::string_view name, int64_t defaultValue) const;
    bool BoolOf(std::string_view name, bool defaultValue) const;
    void Clear();
    // Removes and destroys the node at index i (no-op outside the range).
    void Delete(int i);

private:
    friend class TSimpleXMLElem;
    void RebuildIndex() const;

    TSimpleXMLElem* Parent;
    std::vector<std::unique_ptr<TSimpleXMLElem>> Items;
    mutable std::unordered_map<std::string, TSimpleXMLElemClassic*> Index;
    mutable bool IndexValid = false;
};

// Base of every node kind.
class TSimpleXMLElem {
public:
    explicit TSimpleXMLElem(TSimpleXMLElem* parent = nullptr);
    virtual ~TSimpleXMLElem();
    TSimpleXMLElem(const TSimpleXMLElem&) = delete;
    TSimpleXMLElem& operator=(const TSimpleXMLElem&) = delete;

    const std::string& TagName() const { return Name; }
    std::string TagPrefix;
    std::string Content;
    // prefix:name when a prefix is present, else the name.
    std::string FullName() const;

    // Created on first use.
    TSimpleXMLElems& Children();
    TSimpleXMLProps& Attributes();
    const TSimpleXMLElems* ChildrenIfAny() const { return ChildList.get(); }
    const TSimpleXMLProps* AttributesIfAny() const { return PropList.get(); }
    int ChildCount() const { return ChildList ? ChildList->Count() : 0; }

    TSimpleXMLElem* ParentElem() const { return Parent; }
    TSimpleXML* OwnerDoc() const;

    // Sets the name; an empty or unchanged name does nothing. Keeps the
    // parent's name index in step.
    void Rename(const std::string& name);

    // A fresh node of the same kind, unattached.
    virtual std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const = 0;
    virtual void CopyFrom(const TSimpleXMLElem* source);
    virtual void ClearContent();
    virtual void ReadFrom(TSimpleXMLReader& reader) = 0;
    virtual void WriteTo(std::string& out, const std::string& indent) const = 0;

protected:
    friend class TSimpleXML;
    friend class TSimpleXMLElems;
    friend class TSimpleXMLElemsProlog;
    std::string Name;
    TSimpleXMLElem* Parent;
    TSimpleXML* Document = nullptr; // set on the root element only
    std::unique_ptr<TSimpleXMLElems> ChildList;
    std::unique_ptr<TSimpleXMLProps> PropList;
};

class TSimpleXMLElemClassic : public TSimpleXMLElem {
public:
    using TSimpleXMLElem::TSimpleXMLElem;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

class TSimpleXMLElemText : public TSimpleXMLElem {
public:
    using TSimpleXMLElem::TSimpleXMLElem;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

class TSimpleXMLElemComment : public TSimpleXMLElem {
public:
    using TSimpleXMLElem::TSimpleXMLElem;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

class TSimpleXMLElemCData : public TSimpleXMLElem {
public:
    using TSimpleXMLElem::TSimpleXMLElem;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

class TSimpleXMLElemHeader : public TSimpleXMLElem {
public:
    explicit TSimpleXMLElemHeader(TSimpleXMLElem* parent = nullptr);
    std::string Version = "1.0";
    std::string Encoding = "iso-8859-1";
    bool StandAlone = false;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void CopyFrom(const TSimpleXMLElem* source) override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

class TSimpleXMLElemDocType : public TSimpleXMLElem {
public:
    using TSimpleXMLElem::TSimpleXMLElem;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

class TSimpleXMLElemSheet : public TSimpleXMLElem {
public:
    using TSimpleXMLElem::TSimpleXMLElem;
    std::unique_ptr<TSimpleXMLElem> CreateSameKind(TSimpleXMLElem* parent) const override;
    void ReadFrom(TSimpleXMLReader& reader) override;
    void WriteTo(std::string& out, const std::string& indent) const override;
};

// The nodes that precede the root: at most one header, comments, document
// type declarations and stylesheet instructions, in document order.
class TSimpleXMLElemsProlog {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    TSimpleXMLElem* At(int i) const;
    TSimpleXMLElem& Append(std::unique_ptr<TSimpleXMLElem> node);
    TSimpleXMLElemHeader* Header() const;
    void Clear() { Items.clear(); }

private:
    friend class TSimpleXML;
    TSimpleXML* Owner = nullptr;
    std::vector<std::unique_ptr<TSimpleXMLElem>> Items;
};

// A document: the root element (always present) and the prolog. Configured as
// the program uses it everywhere: two-blank indent, children indented, header
// always printed, no escaping, lookups never create nodes.
class TSimpleXML {
public:
    // Nesting beyond this many elements is refused: real charts nest four deep,
    // and a hostile file must not exhaust the stack of the recursive parser.
    static constexpr int MaxNestingDepth = 256;

    TSimpleXML();
    ~TSimpleXML();
    TSimpleXML(const TSimpleXML&) = delete;
    TSimpleXML& operator=(const TSimpleXML&) = delete;

    TSimpleXMLElemClassic* RootElem() const { return Root.get(); }
    TSimpleXMLElemsProlog& PrologItems() { return Prolog; }
    const TSimpleXMLElemsProlog& PrologItems() const { return Prolog; }

    const std::string& IndentString() const { return Indent; }
    // Ignored unless the text holds only blanks and tabs.
    void SetIndentString(const std::string& indent);

    // A text that ends inside an element is read as far as it goes, without an
    // error; InputEndedInside then tells so, and HadRootElement whether the
    // text held a root element at all (both until the next read).
    void ReadText(std::string_view text);
    bool InputEndedInside() const { return InputEndedInsideElement; }
    bool HadRootElement() const { return RootElementRead; }
    void ReadFile(const std::string& path);
    std::string WriteText();
    void WriteFile(const std::string& path);

private:
    std::unique_ptr<TSimpleXMLElemClassic> Root;
    TSimpleXMLElemsProlog Prolog;
    std::string Indent = "  ";
    bool InputEndedInsideElement = false;
    bool RootElementRead = false;
};
