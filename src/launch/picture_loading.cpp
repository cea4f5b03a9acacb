#include "launch/picture_loading.h"
#include "platform/error_text.h"
#include "platform/wide_text.h"
#include "text/launch_settings.h"
#include "text/log_line.h"
#include "text/text.h"

// One picture a run, in a block that is never freed: the thread may still be reading when
// the run ends, and the backdrop keeps the picture handed to it. The log, too, lives as long
// as the process.
struct PictureJob {
    RunLog *log;
    char name[VALUE_CHARS];
    wchar_t fullName[PATH_UNITS];
    BackdropColor color;
    HWND backdrop;
    BackdropPicture picture;
};

static DWORD WINAPI ReadPicture(void *jobParam) {
    PictureJob &job = *(PictureJob *)jobParam;
    HRESULT result;
    if (LoadBackdropPicture(job.fullName, &job.color, &job.picture, &result)) {
        ShowBackdropPicture(job.backdrop, &job.picture);
        WriteRunLog(job.log, "picture '%s' read and shown", job.name);
        return 0;
    }
    char width[16], height[16], why[LOG_LINE_CHARS / 4];
    FormatUnsigned(width, sizeof width, (unsigned long)job.picture.width);
    FormatUnsigned(height, sizeof height, (unsigned long)job.picture.height);
    DescribeError((DWORD)result, why, sizeof why);
    if (result == WINCODEC_ERR_IMAGESIZEOUTOFRANGE && job.picture.width > 0)
        WriteRunLog(job.log,
                    "picture '%s' of %s x %s pixels is too large (at most 64 megapixels, 16384 "
                    "on a side): the backdrop shows its colour alone",
                    job.name, width, height);
    else
        WriteRunLog(job.log,
                    "picture '%s' could not be read: error %s; the backdrop shows its colour "
                    "alone",
                    job.name, why);
    return 0;
}

void StartPictureLoading(RunLog *log, const char *name, const BackdropColor *color, HWND backdrop) {
    PictureJob *made =
        (PictureJob *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(PictureJob));
    if (made == NULL)
        return;
    PictureJob &job = *made;
    job.log = log;
    CopyText(job.name, sizeof job.name, name);
    if (!FullPathOfName(name, job.fullName))
        ToWide(name, job.fullName, PATH_UNITS);
    job.color = *color;
    job.backdrop = backdrop;
    HANDLE thread = CreateThread(NULL, 0, ReadPicture, made, 0, NULL);
    if (thread == NULL) {
        ReadPicture(made);
        return;
    }
    CloseHandle(thread);
}
