#pragma once
// The texts the user reads that more than one part of the program shows (the
// window, kenmori-cli, the start checks), each written once here. UTF-8.

#include <QString>

#include <string_view>

namespace kenmori {

inline constexpr std::string_view kTitleSettingsCheck = "設定確認";
inline constexpr std::string_view kTitleError = "Error";

inline constexpr std::string_view kMessageFetchingSearchPage = "ページ情報を取得中です。しばらくお待ちください。";
inline constexpr std::string_view kMessageOutputFileInUse =
    "選択されたファイルが他のアプリケーションで使用中の為\n開くことができませんでした。";
inline constexpr std::string_view kMessageDatabaseMissing =
    "DBファイルの設定が正しくありません。\n管理者に確認してください。";

// A text of this file, or any UTF-8 text, for the window.
inline QString Utf8Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kenmori
