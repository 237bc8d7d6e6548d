#pragma once
// The publisher's web pages.

#include <string>
#include <string_view>

// Every address lies on this one host.
inline constexpr std::string_view kPublisherHost = "quelbrin.example";

const std::string& HomePageAddress();
const std::string& ForumPageAddress();
const std::string& ForumDiscussionPageAddress();

// The command-line parameters that hand the address to the browser as one argument. An address
// without blanks or quotes goes unchanged; any other is quoted, so that no part of it can become
// a separate argument, such as an option to the browser.
std::string BrowserParameters(std::string_view address);

// Asks the shell to start iexplore.exe with the address; whether it starts is not looked at.
void OpenInBrowser(const std::string& address);
