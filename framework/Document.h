#pragma once

#include "framework/CmdTarget.h"
#include "framework/CommandMap.h"

#include <QString>
#include <string>
#include <vector>

class CDocTemplate;
class CMDIChildWnd;
class CView;
class DocumentSource;

// The data behind one or more windows. Its template owns it; its views show it. When its last view
// goes, the document closes itself (unless auto-delete is off) and its template destroys it.
class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    const QString& GetTitle() const { return m_title; }
    // Also retitles the frames of the views.
    virtual void SetTitle(const QString& title);
    // What the window list says before the title of the document's windows, so that a window is
    // told from another of the same title (a table and its chart); empty for nothing.
    virtual QString GetWindowListKind() const { return {}; }
    const std::string& GetPathName() const { return m_pathName; }
    // Records the path of the file the document was opened from or saved to; the title becomes the
    // file's name.
    virtual void SetPathName(const std::string& path);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    CDocTemplate* GetDocTemplate() const { return m_docTemplate; }

    const std::vector<CView*>& GetViews() const { return m_views; }
    // The view starts showing this document (leaving the one it showed before).
    void AddView(CView& view);
    // The view stops showing this document; without views left the document closes itself when
    // auto-delete is on.
    void RemoveView(CView& view);
    // OnUpdate of every view but the sender.
    void UpdateAllViews(CView* sender, int hint = 0);

    bool IsAutoDelete() const { return m_autoDelete; }
    void SetAutoDelete(bool autoDelete) { m_autoDelete = autoDelete; }

    // Called by the template on a document it has just created (with its views and frame not yet
    // shown). Answering false abandons the opening: the template destroys the frame, the views and
    // the document, and nothing of them is left.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const DocumentSource& source);
    // Frees what the document holds; called before a new or opened content and on closing.
    virtual void DeleteContents() {}
    // Closes every window showing the document at once (views and frames are destroyed before
    // this returns), empties it, and has its template destroy it when auto-delete is on: nothing
    // of the document may be used after the call. Not to be called from an event handler of one of
    // its own views; post the call instead.
    virtual void OnCloseDocument();

    // Whether the frame may close: when it is the document's last frame, the document is asked to
    // save its modifications.
    virtual bool CanCloseFrame(CMDIChildWnd& frame);
    // Answers false when the user refuses to go on. The framework's documents never save, so they
    // always go on; a document that can be saved asks here.
    virtual bool SaveModified() { return true; }

    // Command "Fermer": closes the document and its windows, once SaveModified agrees.
    void OnFileClose();

protected:
    bool HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) override;

private:
    friend class CDocTemplate;

    void UpdateFrameTitles();

    static const CommandEntry<CDocument> kCommandMap[];

    QString m_title;
    std::string m_pathName;
    bool m_modified = false;
    bool m_autoDelete = true;
    bool m_closing = false;
    CDocTemplate* m_docTemplate = nullptr;
    std::vector<CView*> m_views;
};
