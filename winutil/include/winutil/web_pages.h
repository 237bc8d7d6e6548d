#pragma once
// The publisher's web pages.

#include <string>
#include <string_view>

// Every address lies on this one host.
inline constexpr std::string_view kPublisherHost = "quelbrin.example";

const std::string& HomePageAddress();
const std::string& ForumPageAddress();
const std::string& ForumDiscussionPageAddress();

// Asks the shell to start iexplore.exe with the address; whether it starts is not looked at.
void OpenInBrowser(const std::string& address);
