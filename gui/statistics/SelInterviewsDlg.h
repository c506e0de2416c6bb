#pragma once

#include "gui/statistics/ActiveIllustrativeDialog.h"

#include <cstdint>
#include <vector>

class CContexteEtude;

// "Sélection des interviews": the interviews of the survey split into active, illustrative and
// unused ones, by hand or by study field. OK needs at least 3 active interviews; it then replaces
// the caller's two lists (interview numbers, ascending).
class CSelInterviewsDlg : public ActiveIllustrativeDialog {
    Q_OBJECT

public:
    enum { IDD = 218 };
    static constexpr int kMinimumActifs = 3;

    CSelInterviewsDlg(CContexteEtude& context, std::vector<std::uint32_t>& actifs,
                      std::vector<std::uint32_t>& illustratifs, QWidget* parent = nullptr);

    void accept() override;

    // Which study field the study-field buttons apply; by default the study-field dialog.
    // Answers false on cancel.
    using StudyFieldChooser = std::function<bool(std::int32_t& id)>;
    void SetStudyFieldChooser(StudyFieldChooser chooser) { m_chooser = std::move(chooser); }

private:
    std::vector<std::uint32_t> PassingStudyField(const std::vector<std::uint32_t>& numbers);

    CContexteEtude& m_context;
    std::vector<std::uint32_t>& m_actifs;
    std::vector<std::uint32_t>& m_illustratifs;
    StudyFieldChooser m_chooser;
};
