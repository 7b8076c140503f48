/* Control protocol between touchsim.exe and the stand-in driver touchsim.sys.
 * Plain C so that both the kernel-mode driver and the user-mode tool use it. */
#ifndef TOUCHSIM_PROTOCOL_H
#define TOUCHSIM_PROTOCOL_H

/* The device the program opens, and the stand-in's own control device. */
#define TS_DEVICE_NAME L"\\Device\\mvtouch"
#define TS_DEVICE_LINK L"\\DosDevices\\mvtouch"
#define TS_CONTROL_NAME L"\\Device\\mvtouchctl"
#define TS_CONTROL_LINK L"\\DosDevices\\mvtouchctl"
#define TS_CONTROL_PATH L"\\\\.\\mvtouchctl"

/* The program's two control codes (FILE_DEVICE_UNKNOWN, METHOD_BUFFERED, FILE_ANY_ACCESS). */
#define TS_IOCTL_READ 0x222408u
#define TS_IOCTL_WRITE 0x22240Cu
#define TS_REQUEST_SIZE 168u
#define TS_EVENT_SIZE 56u
#define TS_DEVICE_TEXT "MORVI 5G Wireless Device"

/* Control codes of mvtouchctl: CTL_CODE(FILE_DEVICE_UNKNOWN, 0xA00 + n, METHOD_BUFFERED, FILE_ANY_ACCESS). */
#define TS_CTL(n) (0x00220000u | ((0xA00u + (n)) << 2))
#define TS_CTL_PUSH TS_CTL(0)     /* in: N x u32 codes; out: ts_client */
#define TS_CTL_CLIENT TS_CTL(1)   /* out: ts_client */
#define TS_CTL_BATTERY TS_CTL(2)  /* in: ts_battery */
#define TS_CTL_FAIL TS_CTL(3)     /* in: u32 number of requests to fail */
#define TS_CTL_LOG TS_CTL(4)      /* in: u32 first index; out: ts_log_header + entries */
#define TS_CTL_CLEAR TS_CTL(5)    /* clears the log */
#define TS_CTL_PRESENT TS_CTL(6)  /* in: u32, 0 the receiver is pulled out, 1 plugged in */
#define TS_CTL_SHORT TS_CTL(7)    /* in: u32 number of reads to answer short (2 bytes, nothing written) */
#define TS_CTL_DROP TS_CTL(8)     /* forgets the queued events */

#define TS_QUEUE_CAPACITY 8192u
#define TS_LOG_CAPACITY 2048u

typedef struct ts_client {
    unsigned int opened;      /* 1 once an open request was accepted */
    unsigned int process_id;  /* the process that sent the accepted open request */
    unsigned int semaphore;   /* the semaphore handle value from that request (valid in that process) */
    unsigned int queued;      /* events waiting to be read */
} ts_client;

typedef struct ts_battery {
    unsigned int status;  /* first answer byte: 1 valid */
    unsigned int value;   /* 16-bit value, answered high byte first */
} ts_battery;

/* One request the program sent, as received. */
typedef struct ts_log_entry {
    unsigned int ioctl;
    unsigned int status;      /* 0 accepted, 1 refused */
    unsigned int in_length;
    unsigned int out_length;
    unsigned int process_id;
    unsigned char data[TS_REQUEST_SIZE];   /* input bytes (first in_length, at most 168) */
    unsigned char answer[TS_REQUEST_SIZE]; /* output bytes returned (first out_length) */
} ts_log_entry;

typedef struct ts_log_header {
    unsigned int total;   /* entries recorded since the last clear */
    unsigned int first;   /* index of the first entry that follows */
    unsigned int count;   /* entries that follow */
    unsigned int dropped; /* entries lost because the log was full */
} ts_log_header;

#endif
