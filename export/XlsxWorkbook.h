#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/XlsxFormat.h"

struct lxw_workbook;
struct lxw_format;
class XlsxSheet;

// A spreadsheet workbook (.xlsx) being written, over libxlsxwriter: named sheets, cells by
// index, and one format of the file per distinct look (XlsxFormat). Nothing reaches the file
// before Close, which writes the whole workbook at the path given (a temporary name of the
// caller's ExportFile); a workbook destroyed without Close writes nothing.
class XlsxWorkbook {
public:
    // The sheet's limits: cells beyond them cannot be written.
    static constexpr std::int32_t kMaxRows = 1048576;
    static constexpr std::int32_t kMaxColumns = 16384;
    // Characters a cell holds at most.
    static constexpr std::size_t kMaxTextLength = 32767;
    // Characters of a sheet name at most.
    static constexpr std::size_t kMaxSheetName = 31;

    explicit XlsxWorkbook(const std::string& path);
    ~XlsxWorkbook();
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    // A new sheet after the last one; null when the name is refused (taken, too long, or holding
    // a character sheet names cannot have) or the workbook could not be made.
    XlsxSheet* AddSheet(const std::string& name);

    // The file's format for a look, made on first use.
    lxw_format* Format(const XlsxFormat& format);

    // Writes the file and reads it back. False with `reason` set (the system's reason where there
    // is one) when the workbook could not be made, a cell was refused, the file could not be
    // written or one of its parts is incomplete (XlsxPackageCheck: the library's temporary
    // files could not be written, and the library does not say so).
    bool Close(std::string& reason);

    // Records the first failure met while writing cells.
    void NoteFailure(int libraryError);

private:
    std::string m_path;
    lxw_workbook* m_workbook = nullptr;
    std::vector<std::unique_ptr<XlsxSheet>> m_sheets;
    std::map<XlsxFormat, lxw_format*> m_formats;
    int m_failure = 0;
};
