#pragma once

#include "framework/UtilArbre.h"
#include "tabulation/Profil.h"

#include <QWidget>
#include <cstdint>

class CContexteEtude;
class CTraitement;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// What the three profile pages of the request dialogs share: the profile of one axis shown as a
// tree, and a button that edits it in a profile dialog. The page owns its profile; the level is
// the request dialog's, read when the dialog opens.
class ProfilePage : public QWidget {
    Q_OBJECT

public:
    ~ProfilePage() override;

    // The request's profile of the axis, when it has one, becomes the page's.
    virtual void LireTraitement(const CTraitement& request, int axis);
    virtual void EcrireTraitement(CTraitement& request, int axis) const;
    // The profile has a line; otherwise the analyst is told so and the answer is false.
    bool Valider() const;

    const CProfil& GetProfil() const { return m_profile; }
    QPushButton& SelectionButton() const { return *m_button; }
    QTreeWidget& GetTree() const { return *m_tree; }

protected:
    // `emptyMessage`: what Valider tells of an empty profile.
    ProfilePage(CContexteEtude& context, const std::int32_t& level, const QString& buttonText, int emptyMessage,
                QWidget* parent);

    // The profile dialog on a copy of the profile; true with the edited profile in `edited` after
    // OK.
    virtual bool EditProfile(CProfil& edited) = 0;
    // Refills the tree from the profile.
    virtual void FillTree();
    void SetProfil(const CProfil& profile);
    QVBoxLayout& Layout() const { return *m_layout; }

    CContexteEtude& m_context;
    const std::int32_t& m_level;
    CProfil m_profile;
    CUtilArbre m_icons;

private:
    void OnSelection();

    int m_emptyMessage;
    QVBoxLayout* m_layout;
    QPushButton* m_button;
    QTreeWidget* m_tree;
};
