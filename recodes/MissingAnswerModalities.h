#pragma once

class CEnquete;
class CQuestionEtendue;

// The modalities that close the list of a question recoded from numbers: the no-answer modality
// (code -1) when the source offers it, then always the not-asked modality (code -2), each
// captioned in every language of the survey.
class MissingAnswerModalities {
public:
    // Appends them to the target and sets its has-no-answer flag to `withNoAnswer`.
    static void Append(CQuestionEtendue& target, CEnquete* survey, bool withNoAnswer);
};
