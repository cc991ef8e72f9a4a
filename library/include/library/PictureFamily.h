// A family of numbered pictures in the picture folder ("BackGround1.jpg",
// "BackGround2.jpg" ...), kept numbered from 1 without gaps: a new picture
// takes the next number, and removing one moves every later picture down by
// one. What the family lists is always what the folder holds. No widgets here.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The file operations a family uses; tests replace one to make it fail.
struct PictureFileOps {
    std::function<bool(const std::string& path)> exists;
    std::function<bool(const std::string& folder)> makeFolder;  // with the folders above it
    std::function<bool(const std::string& from, const std::string& to)> copy;    // replacing the target
    std::function<bool(const std::string& from, const std::string& to)> rename;  // never replacing
    std::function<bool(const std::string& path)> remove;
    // Whether the picture file can be shown (decoded by the JPEG codec).
    std::function<bool(const std::string& path)> decodes;

    // The disk through Aidkern, pictures through Pixmill.
    static PictureFileOps disk();
};

class PictureFamily {
public:
    enum class AddResult { Added, NotAPicture, NoFolder, CopyFailed };
    struct Added {
        AddResult result;
        int number;  // the new picture's number when added, else 0
    };

    // family: "BackGround", "BookPage", "CoverOuter" or "CoverInner".
    PictureFamily(std::string folder, std::string family, PictureFileOps ops = PictureFileOps::disk());

    const std::string& folder() const { return m_folder; }
    // folder + "/" + family + number + ".jpg"
    std::string path(int number) const;
    // The pictures 1, 2, ... up to the first number whose file is missing.
    int count() const;
    // Their titles ("BackGround1", "BackGround2" ...), in number order.
    std::vector<std::string> titles() const;

    // Copies the file to the next number, creating the folder when it is
    // missing. A file that cannot be shown is refused and leaves nothing behind.
    Added add(const std::string& source);
    // Removes the picture and moves the later ones down. All or nothing: when
    // a step fails, what was done is undone and false comes back.
    bool remove(int number);

private:
    std::string m_folder;
    std::string m_family;
    PictureFileOps m_ops;
};
