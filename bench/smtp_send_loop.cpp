// The floor of sending a queue of mail: one message, read once from a file,
// sent COUNT times over one SMTP connection by libcurl with nothing else to
// do, each time to another recipient (c<n>@example.com).
//   smtp_send_loop PORT COUNT MESSAGE_FILE
// The server is on 127.0.0.1. Prints the count of messages accepted.
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Upload {
    const std::string* message;
    std::size_t offset;
};

std::size_t readMessage(char* buffer, std::size_t size, std::size_t count, void* data)
{
    auto& upload = *static_cast<Upload*>(data);
    const std::size_t piece = std::min(size * count, upload.message->size() - upload.offset);
    std::memcpy(buffer, upload.message->data() + upload.offset, piece);
    upload.offset += piece;
    return piece;
}

std::size_t discard(char*, std::size_t size, std::size_t count, void*) { return size * count; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: smtp_send_loop PORT COUNT MESSAGE_FILE\n");
        return 2;
    }
    std::ifstream file(argv[3], std::ios::binary);
    const std::string message{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const int count = std::atoi(argv[2]);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* curl = curl_easy_init();
    const std::string url = std::string("smtp://127.0.0.1:") + argv[1] + "/bench";
    Upload upload {&message, 0};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, "shop@example.org");
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, std::clamp<long>(static_cast<long>(message.size()), 16384, 2 << 20));
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    int sent = 0;
    for (int n = 0; n < count; ++n) {
        const std::string recipient = "c" + std::to_string(n) + "@example.com";
        curl_slist* recipients = curl_slist_append(nullptr, recipient.c_str());
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
        upload.offset = 0;
        const CURLcode code = curl_easy_perform(curl);
        curl_slist_free_all(recipients);
        if (code != CURLE_OK) {
            std::fprintf(stderr, "message %d: %s\n", n + 1, curl_easy_strerror(code));
            return 1;
        }
        ++sent;
    }
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    std::printf("%d messages\n", sent);
    return 0;
}
