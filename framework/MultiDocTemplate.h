#pragma once

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <type_traits>

// A template whose every document opens in its own child frame of the main frame, with one view.
// The document, view and frame classes come as factories; the frame factory is the seam through
// which the program supplies its own child frame class.
class CMultiDocTemplate : public CDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using ViewFactory = std::function<std::unique_ptr<CView>()>;
    using FrameFactory = std::function<std::unique_ptr<CMDIChildWnd>()>;

    // `documentName`, when not empty, titles the new untitled documents: the name followed by
    // their number (1, 2, ...).
    CMultiDocTemplate(int resourceId, DocumentFactory makeDocument, ViewFactory makeView,
                      FrameFactory makeFrame, QString documentName = {});

    // The template of a document class and a view class, both default-constructible.
    template <class Document, class View>
    static std::unique_ptr<CMultiDocTemplate> Create(int resourceId, FrameFactory makeFrame,
                                                     QString documentName = {});

protected:
    // Builds document, frame and view; a new document for no source, else OnOpenDocument; on
    // success, a path becomes the document's path name and the frame is added to the main frame,
    // its view given its initial update, shown and activated.
    CDocument* OpenDocument(const DocumentSource& source) override;

private:
    void SetDefaultTitle(CDocument& document) const;

    DocumentFactory m_makeDocument;
    ViewFactory m_makeView;
    FrameFactory m_makeFrame;
    QString m_documentName;
    int m_untitledCount = 0;
};

template <class Document, class View>
std::unique_ptr<CMultiDocTemplate> CMultiDocTemplate::Create(int resourceId, FrameFactory makeFrame,
                                                             QString documentName) {
    static_assert(std::is_base_of_v<CDocument, Document>, "a document class derives from CDocument");
    static_assert(std::is_base_of_v<QWidget, View> && std::is_base_of_v<CView, View>,
                  "a view class derives from a QWidget class and from CView");
    return std::make_unique<CMultiDocTemplate>(
        resourceId, [] { return std::unique_ptr<CDocument>(std::make_unique<Document>()); },
        [] { return std::unique_ptr<CView>(std::make_unique<View>()); }, std::move(makeFrame),
        std::move(documentName));
}
