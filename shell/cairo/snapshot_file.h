// The snapshot's file: bytes that replace a file whole or not at all, with
// the protections of the file they replace, and no temporary file left
// behind by an interruption.
#pragma once
#include <cstddef>
#include <string>

// ReplaceFile
//   Given:    path   the file to write; a symbolic link is followed (the
//                    file it points to is replaced, the link stays)
//             data, size  the new contents
//   Returned: true when the file holds the new contents; false, with the
//             reason in *why, when nothing was changed
//   Notes:    1) Refused: a folder (or a link to one), a device, FIFO or
//                socket, a file the user may not write (as the shell's `>`
//                refuses it), and a chain of links that does not end.
//             2) The contents go to a temporary file beside the target,
//                which is then renamed over it (atomic): a reader sees the
//                old file or the new one. The new file keeps the permission
//                bits of the old one (set-id and sticky bits dropped), as
//                far as the user may set them its owner and group, and its
//                extended attributes (the ACLs among them); a new name gets
//                0666 less the umask. The other names of a hard-linked
//                target keep the old contents (the rename gives the path a
//                new file).
//             3) Every signal whose default action ends the program and
//                that can be caught, while the temporary file exists,
//                removes it and ends the program with 128 + the signal
//                number (signals the program ignores stay ignored).
//             4) The temporary file is named ".tenmado-snapshot-<pid>-<boot
//                id>-XXXXXX" and locked while written: one left by a
//                process that is gone (SIGKILL, a power cut) is removed by
//                the next ReplaceFile into the same folder.
bool ReplaceFile(const std::string& path, const void* data, size_t size, std::string* why);

// CanReplaceFile: whether ReplaceFile would find path replaceable now (the
//   same checks, nothing written), so that a caller can refuse before
//   preparing the contents. Returned: true; or false with the reason in *why.
bool CanReplaceFile(const std::string& path, std::string* why);

// WriteAll: size bytes to a descriptor, on through short writes and EINTR.
//   Returned: 0, or the errno of the write that failed.
int WriteAll(int fd, const void* data, size_t size);

// ReplaceFile_SetTestPause: the write in pieces with a pause of us
//   microseconds (0 to 1000000) between them, for the tests' binary that
//   sends signals mid-write; never set by the program.
void ReplaceFile_SetTestPause(long us);
